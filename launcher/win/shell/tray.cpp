#include "win/shell/tray.h"

#include <shellapi.h>
#include <windowsx.h>

#include "core/catalog/hidden.h"
#include "core/shell/tray_menu.h"
#include "win/platform/app_icon.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_window.h"
#include "win/shell/app_state.h"
#include "win/shell/autostart.h"
#include "win/shell/forgetting.h"
#include "win/shell/tray_retry.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

constexpr UINT kTrayIconId = 1;
static_assert(sizeof(NOTIFYICONDATAW) == 976, "the full structure of current Windows");
static_assert(kTrayIconFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));

bool notify_shell(HWND hwnd, DWORD action) {
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
void set_focus_on_icon(HWND hwnd) {
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

POINT pointer_position() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

}  // namespace

TrayIcon::TrayIcon(PopupWindow& popup, StatsWindow& stats)
    : popup_(popup), stats_(stats), retry_([this](HWND) { return add(); }, kTrayRetryTimer) {}

HWND TrayIcon::owner() const {
    return popup_.hwnd();
}

bool TrayIcon::notify(DWORD action) const {
    return notify_shell(owner(), action);
}

void TrayIcon::give_focus_back() const {
    set_focus_on_icon(owner());
}

bool TrayIcon::add() {
    if (!notify(NIM_ADD)) {
        return false;
    }
    // Version 4 callbacks let the keyboard reach the icon: Enter and Space
    // select it, Shift+F10 and the menu key open its menu at the icon.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner();
    data.uID = kTrayIconId;
    data.uVersion = NOTIFYICON_VERSION_4;
    version4_ = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
    return true;
}

void TrayIcon::add_with_retry() {
    retry_.stop(owner());
    retry_.add(owner(), std::chrono::steady_clock::now());
}

void TrayIcon::on_retry_timer() {
    retry_.on_timer(owner(), std::chrono::steady_clock::now());
}

void TrayIcon::on_taskbar_created() {
    // The broadcast also comes on some display changes, with the icon still
    // there: it is then refreshed (at the current DPI), not added twice.
    if (notify(NIM_MODIFY)) {
        retry_.stop(owner());
        return;
    }
    add_with_retry();
}

void TrayIcon::remove() {
    retry_.stop(owner());
    notify(NIM_DELETE);
}

void TrayIcon::show_again(const TrayChoice& choice) {
    BorrowSlot<VisibleCatalog>::Borrow catalog = popup_.ui().catalog.borrow();
    if (!catalog) {
        return;  // busy: the hidden set stays as it is
    }
    if (choice.kind == TrayChoice::Kind::ShowAll) {
        catalog->unhide_all(system_platform());
    } else {
        catalog->unhide(choice.key, system_platform());
    }
}

void TrayIcon::run_choice(const TrayChoice& choice) {
    switch (choice.kind) {
        case TrayChoice::Kind::Nothing:
            return;
        case TrayChoice::Kind::Open:
            popup_.show();
            return;
        case TrayChoice::Kind::Stats:
            stats_.open();
            return;
        case TrayChoice::Kind::ShowHidden:
        case TrayChoice::Kind::ShowAll:
            show_again(choice);
            return;
        case TrayChoice::Kind::ClearHistory:
            if (clear_history_after_asking(popup_.ui())) {
                stats_.refresh();
            }
            return;
        case TrayChoice::Kind::Autostart:
            toggle_autostart(popup_.ui());
            return;
        case TrayChoice::Kind::Quit:
            DestroyWindow(owner());
            return;
    }
}

// Builds the menu at a screen point, lets the user choose, then runs the choice.
void TrayIcon::show_menu(POINT at) {
    unique_hmenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    // Read now, so the check mark and the hidden list are current.
    std::vector<HiddenMenuItem> hidden;
    if (BorrowSlot<VisibleCatalog>::Borrow catalog = popup_.ui().catalog.borrow()) {
        hidden = hidden_menu_items(catalog->hidden(), catalog->catalog(), catalog->key_index());
    }
    append_items(menu.get(), tray_menu(autostart_enabled(), hidden));
    SetForegroundWindow(owner());
    const auto id = static_cast<std::uint32_t>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0,
                       owner(), nullptr));
    PostMessageW(owner(), WM_NULL, 0, 0);
    menu.reset();  // the submenu goes with it, before the choice runs
    const TrayChoice choice = tray_choice(id, hidden);
    if (!tray_choice_shows_window(choice.kind)) {
        give_focus_back();
    }
    run_choice(choice);
}

// A left click: hides the popup when it is shown or was hidden by this very
// click taking the focus, shows it otherwise.
void TrayIcon::on_click() {
    const bool shown = popup_.is_shown();
    std::optional<std::chrono::steady_clock::duration> since_hide;
    if (const std::optional<Instant> last_hide = popup_.last_hide()) {
        since_hide = std::chrono::steady_clock::now() - *last_hide;
    }
    if (tray_click_hides(shown, since_hide)) {
        popup_.hide();
    } else {
        popup_.show();
    }
}

// Enter or Space on the icon, unless it is the echo of the last one.
void TrayIcon::on_key_select() {
    const Instant now = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::duration> since_last;
    if (last_key_select_) {
        since_last = now - *last_key_select_;
    }
    if (!key_select_acts(since_last, std::chrono::milliseconds(GetDoubleClickTime()))) {
        return;
    }
    last_key_select_ = now;
    popup_.toggle();
}

void TrayIcon::on_callback(WPARAM wparam, LPARAM lparam) {
    switch (tray_action(LOWORD(lparam), version4_)) {
        case TrayAction::None:
            return;
        case TrayAction::Click:
            on_click();
            return;
        case TrayAction::Toggle:
            on_key_select();
            return;
        case TrayAction::MenuAtAnchor:
            show_menu(POINT{GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)});
            return;
        case TrayAction::MenuAtPointer:
            show_menu(pointer_position());
            return;
    }
}

}  // namespace talvo::win
