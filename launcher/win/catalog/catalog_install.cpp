#include "win/catalog/catalog_install.h"

#include <utility>

#include "core/catalog/builtins.h"
#include "core/catalog/icon_pixels.h"
#include "win/catalog/catalog_scan.h"
#include "win/platform/detached_thread.h"

namespace talvo::win {

void install_catalog(VisibleCatalog& visible, IconStore& icons, float scale, Catalog catalog) {
    visible.install(std::move(catalog));
    request_icons(visible, icons, scale);
}

void rebuild_builtins(VisibleCatalog& visible, IconStore& icons, float scale) {
    Catalog catalog = replace_builtins(build_builtins(system_platform().system), visible.catalog());
    install_catalog(visible, icons, scale, std::move(catalog));
}

void request_icons(const VisibleCatalog& visible, IconStore& icons, float scale) {
    const std::int32_t size = icon_pixel_size(scale);
    for (const CatalogEntry& entry : visible.catalog()) {
        if (!entry.icon_source || icons.cache.contains(entry.key)) {
            continue;
        }
        // The empty slot makes sure each key is requested once.
        icons.cache.emplace(entry.key, IconSlot{});
        icons.requests.send(IconRequest{entry.key, *entry.icon_source, size});
    }
}

void store_icon_results(IconStore& icons) {
    while (std::optional<IconResult> result = icons.results.try_receive()) {
        icons.cache.insert_or_assign(std::move(result->key), std::move(result->slot));
    }
}

void start_scan(CatalogFeed& feed, HWND hwnd) {
    if (feed.scan_in_progress) {
        return;
    }
    // No thread to be had now: the next show tries again.
    feed.scan_in_progress = start_detached_thread([sender = feed.sender, hwnd] {
        if (sender.send(scan_catalog())) {
            PostMessageW(hwnd, kCatalogReadyMessage, 0, 0);
        }
    });
}

std::optional<Catalog> take_newest_catalog(CatalogFeed& feed) {
    std::optional<Catalog> newest;
    while (std::optional<Catalog> next = feed.receiver.try_receive()) {
        newest = std::move(next);
    }
    return newest;
}

}  // namespace talvo::win
