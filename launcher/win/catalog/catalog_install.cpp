#include "win/catalog/catalog_install.h"

#include <utility>

#include "core/catalog/builtins.h"
#include "core/catalog/icon_pixels.h"
#include "win/catalog/catalog_scan.h"
#include "win/platform/detached_thread.h"

namespace talvo::win {

void install_catalog(AppState& state, Catalog catalog) {
    state.catalog = std::move(catalog);
    state.key_index = build_key_index(state.catalog);
    state.match_index = MatchIndex(state.catalog, state.hidden_keys);
    request_icons(state);
}

void rebuild_builtins(AppState& state) {
    Catalog catalog = replace_builtins(build_builtins(system_platform().system), state.catalog);
    install_catalog(state, std::move(catalog));
}

void request_icons(AppState& state) {
    const std::int32_t size = icon_pixel_size(state.scale);
    for (const CatalogEntry& entry : state.catalog) {
        if (!entry.icon_source || state.icon_cache.contains(entry.key)) {
            continue;
        }
        // The empty slot makes sure each key is requested once.
        state.icon_cache.emplace(entry.key, IconSlot{});
        state.icon_requests.send(IconRequest{entry.key, *entry.icon_source, size});
    }
}

void store_icon_results(AppState& state) {
    while (std::optional<IconResult> result = state.icon_results.try_receive()) {
        state.icon_cache.insert_or_assign(std::move(result->key), std::move(result->slot));
    }
}

void start_scan(AppState& state) {
    if (state.scan_in_progress) {
        return;
    }
    // No thread to be had now: the next show tries again.
    state.scan_in_progress =
        start_detached_thread([sender = state.catalog_sender, hwnd = state.hwnd] {
            if (sender.send(scan_catalog())) {
                PostMessageW(hwnd, kCatalogReadyMessage, 0, 0);
            }
        });
}

std::optional<Catalog> take_newest_catalog(AppState& state) {
    std::optional<Catalog> newest;
    while (std::optional<Catalog> next = state.catalog_receiver.try_receive()) {
        newest = std::move(next);
    }
    return newest;
}

}  // namespace talvo::win
