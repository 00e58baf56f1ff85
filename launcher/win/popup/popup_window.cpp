#include "win/popup/popup_window.h"

#include "core/matching/results.h"
#include "core/page/palette.h"
#include "core/popup/popup_layout.h"
#include "win/launch/perform_action.h"
#include "win/platform/dwm_attributes.h"

namespace talvo::win {

PopupWindow::~PopupWindow() {
    mailbox_ = nullptr;  // its owner may be going too
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

bool PopupWindow::create(HINSTANCE instance, Mailbox& mailbox) {
    mailbox_ = &mailbox;
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DROPSHADOW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kPopupClassName;
    RegisterClassExW(&window_class);  // already registered by an earlier popup: fine

    taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClassName, L"Talvo", WS_POPUP, 0, 0,
                    720, 86, nullptr, nullptr, instance, this);
    if (hwnd_ == nullptr) {
        return false;
    }
    dwm::set_attribute(hwnd_, dwm::kWindowCornerPreference, dwm::kCornerRound);
    colour_frame();
    return true;
}

void PopupWindow::colour_frame() {
    const Palette& palette = ui_.theme.palette();
    dwm::set_attribute(hwnd_, dwm::kUseImmersiveDarkMode, palette.dark_frame ? 1 : 0);
    dwm::set_attribute(hwnd_, dwm::kBorderColor, dwm::border_colour(palette.popup.frame));
}

void PopupWindow::on_theme_change() {
    ui_.theme.reread();
    colour_frame();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool PopupWindow::allow_messages_from_other_processes() {
    bool allowed = true;
    for (const UINT message : {kShowRequestMessage, kQuitRequestMessage, taskbar_created_}) {
        allowed = ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr) && allowed;
    }
    return allowed;
}

LRESULT CALLBACK PopupWindow::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<PopupWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        self->accessible_.emplace(self->ui_.popup, hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PopupWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->accessible_.reset();
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    return self->on_message(message, wparam, lparam);
}

void PopupWindow::perform(PopupAction action) {
    perform_action(*this, stats_, std::move(action));
}

LRESULT PopupWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    // Explorer restarted, or a display changed; registered at run time, so not a case label.
    if (message == taskbar_created_ && message != 0) {
        mailbox_->on_taskbar_created();
        return 0;
    }
    switch (message) {
        case WM_DESTROY:
            accessible_->release();
            if (mailbox_ != nullptr) {
                mailbox_->on_popup_destroyed();
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                hide();
            }
            return 0;
        case WM_PAINT:
            on_paint();
            return 0;
        case WM_CLOSE:
            hide();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
            perform(on_key_down(wparam));
            return 0;
        case WM_CHAR:
            on_char(static_cast<wchar_t>(wparam));
            return 0;
        case WM_TIMER:
            on_timer(wparam);
            return 0;
        case WM_LBUTTONDOWN:
            perform(on_left_button(lparam));
            return 0;
        case WM_RBUTTONUP:
            on_right_button(lparam);
            return 0;
        case WM_WINDOWPOSCHANGING:
            keep_own_geometry(*reinterpret_cast<WINDOWPOS*>(lparam));
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        case WM_DPICHANGED:
            return 0;  // the next show reads the monitor's DPI
        // A high-contrast theme switched on or off, or its colours changed.
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            on_theme_change();
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        case kAccessChangeMessage:
            accessible_->notify(wparam);
            return 0;
        case kAccessibleOpenMessage:
            perform(on_accessible_open(wparam));
            return 0;
        case WM_GETOBJECT:
            if (const std::optional<LRESULT> answer = accessible_->answer(wparam, lparam)) {
                return *answer;
            }
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        // What is the launcher's rather than the popup's.
        case WM_HOTKEY:
            mailbox_->on_hotkey();
            return 0;
        case kCatalogReadyMessage:
            mailbox_->on_catalog_ready();
            return 0;
        case kIconsReadyMessage:
            mailbox_->on_icons_ready();
            return 0;
        case kShowRequestMessage:
            mailbox_->on_show_request();
            return 0;
        case kQuitRequestMessage:
            mailbox_->on_quit_request();
            return 0;
        case kTrayCallbackMessage:
            mailbox_->on_tray_callback(wparam, lparam);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wparam, lparam);
    }
}

void PopupWindow::on_timer(WPARAM timer) {
    if (timer == kTrayRetryTimer) {
        mailbox_->on_tray_retry_timer();
        return;
    }
    if (BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow()) {
        popup->caret_on = !popup->caret_on;
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// Under a window manager (Wine passes its moves on as the window's own) a stale
// resize can arrive after ours: the popup keeps the place and size its rows
// need. Our own SetWindowPos runs while the state is borrowed and goes through.
void PopupWindow::keep_own_geometry(WINDOWPOS& position) {
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!popup) {
        return;
    }
    if ((position.flags & SWP_NOSIZE) == 0) {
        const PixelSize size = layout::popup_size(popup->results.size(), popup->scale);
        position.cx = size.width;
        position.cy = size.height;
    }
    if ((position.flags & SWP_NOMOVE) == 0) {
        position.x = popup->origin.x;
        position.y = popup->origin.y;
    }
}

}  // namespace talvo::win
