#include "win/shell/tray.h"

#include <shellapi.h>
#include <windowsx.h>

#include "core/catalog/hidden.h"
#include "core/shell/tray_menu.h"
#include "win/platform/app_icon.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_visibility.h"
#include "win/shell/app_state.h"
#include "win/shell/autostart.h"
#include "win/shell/tray_retry.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

constexpr UINT kTrayIconId = 1;
static_assert(sizeof(NOTIFYICONDATAW) == 976, "the full structure of current Windows");
static_assert(kTrayIconFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));

bool notify(HWND hwnd, DWORD action) {
    // The shell keeps its own copy: the loaded icon goes after the call.
    const AppIcon icon = load_app_icon(GetSystemMetricsForDpi(SM_CXSMICON, GetDpiForSystem()));
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    data.uFlags = kTrayIconFlags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon.handle;
    const std::wstring tip = widen(kTrayTip);
    tip.copy(data.szTip, std::size(data.szTip) - 1);
    return Shell_NotifyIconW(action, &data) != FALSE;
}

// Hands the keyboard back to the notification area after a menu that showed
// no window: the hidden popup would keep it otherwise.
void give_focus_back_to_tray(HWND hwnd) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_SETFOCUS, &data);
}

void append_items(HMENU menu, const std::vector<TrayMenuItem>& items) {
    for (const TrayMenuItem& item : items) {
        const std::wstring text = widen(item.text);
        switch (item.kind) {
            case TrayMenuItem::Kind::Separator:
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                break;
            case TrayMenuItem::Kind::Submenu:
                if (const HMENU submenu = CreatePopupMenu()) {
                    append_items(submenu, item.children);
                    // The menu owns the submenu from here on.
                    if (!AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                                     text.c_str())) {
                        DestroyMenu(submenu);
                    }
                }
                break;
            case TrayMenuItem::Kind::Command:
                AppendMenuW(
                    menu,
                    MF_STRING | (item.grayed ? MF_GRAYED : 0u) | (item.checked ? MF_CHECKED : 0u),
                    item.id, text.c_str());
                break;
        }
    }
}

std::vector<HiddenMenuItem> current_hidden_items() {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return {};
    }
    return hidden_menu_items(state->hidden_keys, state->catalog, state->key_index);
}

void show_again(const TrayChoice& choice) {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return;  // busy: the hidden set stays as it is
    }
    if (choice.kind == TrayChoice::Kind::ShowAll) {
        unhide_all(state->hidden_keys, system_platform());
    } else {
        unhide_entry(state->hidden_keys, choice.key, system_platform());
    }
    state->match_index = MatchIndex(state->catalog, state->hidden_keys);
}

void run_choice(HWND hwnd, const TrayChoice& choice) {
    switch (choice.kind) {
        case TrayChoice::Kind::Nothing:
            return;
        case TrayChoice::Kind::Open:
            show_popup(hwnd);
            return;
        case TrayChoice::Kind::Stats:
            open_stats_window();
            return;
        case TrayChoice::Kind::ShowHidden:
        case TrayChoice::Kind::ShowAll:
            show_again(choice);
            return;
        case TrayChoice::Kind::Autostart:
            toggle_autostart();
            return;
        case TrayChoice::Kind::Quit:
            DestroyWindow(hwnd);
            return;
    }
}

bool& shell_speaks_version4() {
    static bool version4 = false;
    return version4;
}

TrayIconRetry& tray_retry() {
    static TrayIconRetry retry(add_tray_icon, kTrayRetryTimer);
    return retry;
}

}  // namespace

bool add_tray_icon(HWND hwnd) {
    if (!notify(hwnd, NIM_ADD)) {
        return false;
    }
    // Version 4 callbacks let the keyboard reach the icon: Enter and Space
    // select it, Shift+F10 and the menu key open its menu at the icon.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    data.uVersion = NOTIFYICON_VERSION_4;
    shell_speaks_version4() = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
    return true;
}

void add_tray_icon_with_retry(HWND hwnd) {
    tray_retry().stop(hwnd);
    tray_retry().add(hwnd, std::chrono::steady_clock::now());
}

void on_tray_retry_timer(HWND hwnd) {
    tray_retry().on_timer(hwnd, std::chrono::steady_clock::now());
}

void on_taskbar_created(HWND hwnd) {
    // The broadcast also comes on some display changes, with the icon still
    // there: it is then refreshed (at the current DPI), not added twice.
    if (notify(hwnd, NIM_MODIFY)) {
        tray_retry().stop(hwnd);
        return;
    }
    add_tray_icon_with_retry(hwnd);
}

void remove_tray_icon(HWND hwnd) {
    tray_retry().stop(hwnd);
    notify(hwnd, NIM_DELETE);
}

// Builds the menu at a screen point, lets the user choose, then runs the choice.
namespace {

void show_tray_menu(HWND hwnd, POINT at) {
    unique_hmenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    // Read now, so the check mark and the hidden list are current.
    const std::vector<HiddenMenuItem> hidden = current_hidden_items();
    append_items(menu.get(), tray_menu(autostart_enabled(), hidden));
    SetForegroundWindow(hwnd);
    const auto id = static_cast<std::uint32_t>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0,
                       hwnd, nullptr));
    PostMessageW(hwnd, WM_NULL, 0, 0);
    menu.reset();  // the submenu goes with it, before the choice runs
    const TrayChoice choice = tray_choice(id, hidden);
    if (!tray_choice_shows_window(choice.kind)) {
        give_focus_back_to_tray(hwnd);
    }
    run_choice(hwnd, choice);
}

// A left click: hides the popup when it is shown or was hidden by this very
// click taking the focus, shows it otherwise.
void on_tray_click(HWND hwnd) {
    const bool shown = popup_is_shown(hwnd);
    std::optional<std::chrono::steady_clock::duration> since_hide;
    if (const std::optional<Instant>& last_hide = ui_values().last_hide) {
        since_hide = std::chrono::steady_clock::now() - *last_hide;
    }
    if (tray_click_hides(shown, since_hide)) {
        hide_popup(hwnd);
    } else {
        show_popup(hwnd);
    }
}

// Enter or Space on the icon, unless it is the echo of the last one.
void on_tray_key_select(HWND hwnd) {
    std::optional<Instant>& last = ui_values().last_key_select;
    const Instant now = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::duration> since_last;
    if (last) {
        since_last = now - *last;
    }
    if (!key_select_acts(since_last, std::chrono::milliseconds(GetDoubleClickTime()))) {
        return;
    }
    last = now;
    toggle_popup(hwnd);
}

POINT pointer_position() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

}  // namespace

void on_tray_callback(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    switch (tray_action(LOWORD(lparam), shell_speaks_version4())) {
        case TrayAction::None:
            return;
        case TrayAction::Click:
            on_tray_click(hwnd);
            return;
        case TrayAction::Toggle:
            on_tray_key_select(hwnd);
            return;
        case TrayAction::MenuAtAnchor:
            show_tray_menu(hwnd, POINT{GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)});
            return;
        case TrayAction::MenuAtPointer:
            show_tray_menu(hwnd, pointer_position());
            return;
    }
}

}  // namespace talvo::win
