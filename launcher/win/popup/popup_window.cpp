#include "win/popup/popup_window.h"

#include "core/matching/results.h"
#include "core/page/palette.h"
#include "win/catalog/catalog_install.h"
#include "win/launch/perform_action.h"
#include "win/platform/dwm_attributes.h"
#include "win/popup/popup_accessible.h"
#include "win/popup/popup_input.h"
#include "win/popup/popup_paint.h"
#include "win/popup/popup_visibility.h"
#include "win/shell/app_state.h"
#include "win/shell/tray.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

void install_newest_catalog() {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return;
    }
    std::optional<Catalog> catalog = take_newest_catalog(*state);
    if (!catalog) {
        return;
    }
    state->scan_in_progress = false;
    state->catalog_updated_at = std::chrono::steady_clock::now();
    install_catalog(*state, std::move(*catalog));
    if (state->visible) {
        const std::size_t previous = state->selected;
        recompute_results(*state);
        state->selected =
            selection_after_new_catalog(previous, state->results.size(), state->query.empty());
    }
}

// Names of entries may have changed: the statistics follow in every case.
void on_catalog_ready() {
    install_newest_catalog();
    refresh_stats_window();
}

void on_icons_ready(HWND hwnd) {
    if (StateSlot::Borrow state = ui_state().borrow()) {
        store_icon_results(*state);
        if (state->visible) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
    }
    repaint_stats_window();  // its lists show icons too
}

void on_timer(HWND hwnd, WPARAM timer) {
    if (timer == kTrayRetryTimer) {
        on_tray_retry_timer(hwnd);
        return;
    }
    if (StateSlot::Borrow state = ui_state().borrow()) {
        state->caret_on = !state->caret_on;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Under a window manager (Wine passes its moves on as the window's own) a stale
// resize can arrive after ours: the popup keeps the place and size its rows
// need. Our own SetWindowPos runs while the state is borrowed and goes through.
void keep_own_geometry(WINDOWPOS& position) {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return;
    }
    if ((position.flags & SWP_NOSIZE) == 0) {
        const PixelSize size = layout::popup_size(state->results.size(), state->scale);
        position.cx = size.width;
        position.cy = size.height;
    }
    if ((position.flags & SWP_NOMOVE) == 0) {
        position.x = state->origin.x;
        position.y = state->origin.y;
    }
}

}  // namespace

HWND create_popup_window(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DROPSHADOW;
    window_class.lpfnWndProc = popup_window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kPopupClassName;
    RegisterClassExW(&window_class);

    const HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClassName, L"Talvo",
                                      WS_POPUP, 0, 0, 720, 86, nullptr, nullptr, instance, nullptr);
    if (hwnd != nullptr) {
        const Palette& palette = dark_palette();
        dwm::set_attribute(hwnd, dwm::kWindowCornerPreference, dwm::kCornerRound);
        dwm::set_attribute(hwnd, dwm::kUseImmersiveDarkMode, palette.dark_frame ? 1 : 0);
        dwm::set_attribute(hwnd, dwm::kBorderColor, dwm::border_colour(palette.popup.frame));
    }
    return hwnd;
}

bool allow_messages_from_other_processes(HWND hwnd, UINT taskbar_created) {
    bool allowed = true;
    for (const UINT message : {kShowRequestMessage, kQuitRequestMessage, taskbar_created}) {
        allowed = ChangeWindowMessageFilterEx(hwnd, message, MSGFLT_ALLOW, nullptr) && allowed;
    }
    return allowed;
}

LRESULT CALLBACK popup_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    // Explorer restarted, or a display changed; registered at run time, so not a case label.
    if (message == ui_values().taskbar_created_msg && message != 0) {
        on_taskbar_created(hwnd);
        return 0;
    }
    switch (message) {
        case WM_DESTROY:
            release_popup_accessibility();
            remove_tray_icon(hwnd);
            PostQuitMessage(0);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                hide_popup(hwnd);
            }
            return 0;
        case WM_PAINT:
            paint_popup(hwnd);
            return 0;
        case WM_CLOSE:
            hide_popup(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
            perform_action(hwnd, on_key_down(hwnd, wparam));
            return 0;
        case WM_CHAR:
            on_char(hwnd, static_cast<wchar_t>(wparam));
            return 0;
        case WM_TIMER:
            on_timer(hwnd, wparam);
            return 0;
        case WM_LBUTTONDOWN:
            perform_action(hwnd, on_left_button(hwnd, lparam));
            return 0;
        case WM_RBUTTONUP:
            on_right_button(hwnd, lparam);
            return 0;
        case WM_WINDOWPOSCHANGING:
            keep_own_geometry(*reinterpret_cast<WINDOWPOS*>(lparam));
            return DefWindowProcW(hwnd, message, wparam, lparam);
        case WM_DPICHANGED:
            return 0;  // the next show reads the monitor's DPI
        case WM_HOTKEY:
            toggle_popup(hwnd);
            return 0;
        case kCatalogReadyMessage:
            on_catalog_ready();
            return 0;
        case kIconsReadyMessage:
            on_icons_ready(hwnd);
            return 0;
        case kShowRequestMessage:
            show_popup(hwnd);
            return 0;
        case kTrayCallbackMessage:
            on_tray_callback(hwnd, wparam, lparam);
            return 0;
        case kQuitRequestMessage:
            DestroyWindow(hwnd);  // the window's end ends the launcher
            return 0;
        case kAccessChangeMessage:
            send_popup_notifications(hwnd, wparam);
            return 0;
        case kAccessibleOpenMessage:
            perform_action(hwnd, on_accessible_open(hwnd, wparam));
            return 0;
        case WM_GETOBJECT:
            if (const std::optional<LRESULT> answer =
                    answer_popup_object_request(hwnd, wparam, lparam)) {
                return *answer;
            }
            return DefWindowProcW(hwnd, message, wparam, lparam);
        default:
            return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

}  // namespace talvo::win
