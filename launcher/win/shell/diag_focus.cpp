#include "win/shell/diag_focus.h"

#include "core/launch/focus_rules.h"
#include "core/shell/diag_focus.h"
#include "core/shell/diagnostic_log.h"
#include "win/catalog/catalog_scan.h"
#include "win/launch/window_queries.h"

namespace talvo::win {
namespace {

constexpr std::string_view kFrameWindowClass = "ApplicationFrameWindow";

void log_switchable_windows(const Platform& platform) {
    for (const HWND window : list_switchable_windows()) {
        write_log(platform, switchable_window_line({to_handle(window), window_class_name(window),
                                                    window_title(window), window_app_id(window),
                                                    window_process_path(window)}));
    }
}

// Store applications' frame windows, whatever their state, to see why one is
// or is not switchable.
void log_frame_windows(const Platform& platform, const std::vector<HWND>& all_windows) {
    for (const HWND window : all_windows) {
        if (window_class_name(window) != kFrameWindowClass) {
            continue;
        }
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
        write_log(platform,
                  frame_window_line({to_handle(window), window_title(window),
                                     IsWindowVisible(window) != FALSE, window_cloaked(window),
                                     GetWindow(window, GW_OWNER) != nullptr,
                                     (style & WS_EX_TOOLWINDOW) != 0, window_app_id(window)}));
    }
}

void log_found_windows(const Platform& platform) {
    SystemWindowQueries queries;
    for (const CatalogEntry& entry : scan_catalog()) {
        if (const std::optional<WindowHandle> window = find_open_window(entry, queries)) {
            write_log(platform, found_window_line(entry.name, entry.key, *window));
        }
    }
}

}  // namespace

void run_diag_focus(const Platform& platform) {
    const std::vector<HWND> all_windows = top_level_windows();
    log_switchable_windows(platform);
    log_frame_windows(platform, all_windows);
    log_found_windows(platform);
    write_log(platform, kDiagFocusDone);
}

}  // namespace talvo::win
