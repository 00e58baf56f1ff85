#include "win/shell/launcher.h"

#include "core/catalog/builtins.h"
#include "core/catalog/hidden.h"
#include "core/matching/history_file.h"
#include "win/catalog/catalog_install.h"
#include "win/catalog/icon_worker.h"
#include "win/page/drawing.h"
#include "win/platform/detached_thread.h"
#include "win/platform/monitor.h"

namespace talvo::win {

Launcher::Launcher(bool preview)
    : stats_(ui_, preview), popup_(ui_, stats_), tray_(popup_, stats_) {}

bool Launcher::start(HINSTANCE instance, const Platform& platform) {
    return create_window(instance) && install_state(platform);
}

bool Launcher::create_window(HINSTANCE instance) {
    return popup_.create(instance, *this);
}

bool Launcher::install_state(const Platform& platform) {
    auto [request_sender, request_receiver] = make_channel<IconRequest>();
    auto [result_sender, result_receiver] = make_channel<IconResult>();
    auto [catalog_sender, catalog_receiver] = make_channel<Catalog>();
    if (!start_detached_thread([requests = std::move(request_receiver),
                                results = std::move(result_sender),
                                hwnd = popup_.hwnd()]() mutable {
            icon_worker(std::move(requests), std::move(results), hwnd, kIconsReadyMessage);
        })) {
        return false;
    }
    auto popup = std::make_unique<PopupState>();
    // The scale of the monitor where the popup will open, as a show reads it:
    // the first icons are requested at the size they are drawn.
    popup->scale = monitor_under_pointer().scale();
    popup->fonts = create_popup_fonts(popup->scale);
    auto memory = std::make_unique<LearningMemory>();
    load_history(*memory, platform);
    auto catalog =
        std::make_unique<VisibleCatalog>(build_builtins(platform.system), load_hidden(platform));
    auto icons = std::make_unique<IconStore>(std::move(request_sender), std::move(result_receiver));
    auto feed =
        std::make_unique<CatalogFeed>(std::move(catalog_sender), std::move(catalog_receiver));
    request_icons(*catalog, *icons, popup->scale);
    start_scan(*feed, popup_.hwnd());
    ui_.popup.install(std::move(popup));
    ui_.memory.install(std::move(memory));
    ui_.catalog.install(std::move(catalog));
    ui_.icons.install(std::move(icons));
    ui_.feed.install(std::move(feed));
    return true;
}

Launcher::~Launcher() {
    // The window's end still finds the icon and the statistics it speaks to.
    if (popup_.hwnd() != nullptr) {
        DestroyWindow(popup_.hwnd());
    }
}

bool Launcher::install_newest_catalog() {
    BorrowSlot<CatalogFeed>::Borrow feed = ui_.feed.borrow();
    BorrowSlot<VisibleCatalog>::Borrow catalog = ui_.catalog.borrow();
    BorrowSlot<IconStore>::Borrow icons = ui_.icons.borrow();
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!feed || !catalog || !icons || !popup) {
        return false;
    }
    std::optional<Catalog> newest = take_newest_catalog(*feed);
    if (!newest) {
        return false;
    }
    feed->scan_in_progress = false;
    feed->updated_at = std::chrono::steady_clock::now();
    install_catalog(*catalog, *icons, popup->scale, std::move(*newest));
    return true;
}

void Launcher::on_catalog_ready() {
    if (install_newest_catalog()) {
        popup_.refresh_for_new_catalog();
    }
    // Names of entries may have changed: the statistics follow in every case.
    stats_.refresh();
}

void Launcher::on_icons_ready() {
    if (BorrowSlot<IconStore>::Borrow icons = ui_.icons.borrow()) {
        store_icon_results(*icons);
    }
    popup_.repaint_if_shown();
    stats_.repaint();  // its lists show icons too
}

void Launcher::on_show_request() {
    popup_.show();
}

void Launcher::on_quit_request() {
    DestroyWindow(popup_.hwnd());  // the window's end ends the launcher
}

void Launcher::on_tray_callback(WPARAM wparam, LPARAM lparam) {
    tray_.on_callback(wparam, lparam);
}

void Launcher::on_tray_retry_timer() {
    tray_.on_retry_timer();
}

void Launcher::on_taskbar_created() {
    tray_.on_taskbar_created();
}

void Launcher::on_hotkey() {
    popup_.toggle();
}

void Launcher::on_popup_destroyed() {
    tray_.remove();
    PostQuitMessage(0);
}

}  // namespace talvo::win
