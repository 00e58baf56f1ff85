// The popup's keys, typed characters, clicks and row menu.
#include <windowsx.h>

#include <string>

#include "core/catalog/hidden.h"
#include "core/matching/history_file.h"
#include "core/popup/popup_keys.h"
#include "core/popup/popup_layout.h"
#include "core/popup/query_edit.h"
#include "core/text/utf.h"
#include "win/platform/text_win.h"
#include "win/popup/popup_accessible.h"
#include "win/popup/popup_window.h"
#include "win/shell/forgetting.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

constexpr UINT kHideCommand = 1;

bool held(int virtual_key) {
    return (GetKeyState(virtual_key) & 0x8000) != 0;
}

// Records the choice of a row: a launch to carry out, or nothing past the rows.
PopupAction choose_row(UiState& ui, const PopupState& popup, std::size_t row, LaunchMode mode) {
    BorrowSlot<LearningMemory>::Borrow memory = ui.memory.borrow();
    if (!memory) {
        return PopupAction::none();
    }
    std::optional<LaunchRequest> request =
        choose(*memory, popup.results, row, mode, popup.query, system_platform());
    return request ? PopupAction::launch(std::move(*request)) : PopupAction::none();
}

// Keys and characters act only on a popup on screen: after a tray menu the
// hidden popup may still hold the keyboard.
bool shown(const PopupState& popup, HWND hwnd) {
    return popup.visible && IsWindowVisible(hwnd);
}

// The clipboard's Unicode text, read no further than the memory block holds.
std::string clipboard_text(HWND owner) {
    if (!OpenClipboard(owner)) {
        return {};
    }
    std::string text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < capacity && units[length] != L'\0') {
                ++length;
            }
            text = narrow(std::wstring_view(units, length), InvalidUtf16::Replace);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::optional<std::size_t> row_at(const PopupState& popup, LPARAM position) {
    return layout::hit_row(GET_X_LPARAM(position), GET_Y_LPARAM(position), popup.results.size(),
                           popup.scale);
}

}  // namespace

void PopupWindow::hide_entry_and_refresh(std::string_view key) {
    bool hidden = false;
    if (BorrowSlot<VisibleCatalog>::Borrow catalog = ui_.catalog.borrow()) {
        hidden = catalog->hide(key, system_platform());
    }
    if (hidden) {
        recompute();
    }
}

PopupAction PopupWindow::on_key_down(WPARAM virtual_key) {
    const KeyPress key{static_cast<std::uint32_t>(virtual_key), held(VK_CONTROL), held(VK_MENU),
                       held(VK_SHIFT)};
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!popup) {
        return PopupAction::none();
    }
    const KeyEffect effect =
        popup_key_effect(key, shown(*popup, hwnd_), popup->results.size(), popup->selected);
    switch (effect.kind) {
        case KeyEffect::Kind::None:
            return PopupAction::none();
        case KeyEffect::Kind::Repaint:
            break;
        case KeyEffect::Kind::Complete:
            edit_query(popup->query, {QueryEdit::Kind::Replace, popup->results[effect.row].name});
            popup.release();
            recompute();
            break;
        case KeyEffect::Kind::Choose:
            return choose_row(ui_, *popup, effect.row, effect.mode);
        case KeyEffect::Kind::Hide:
            return PopupAction::hide();
        case KeyEffect::Kind::Select:
            popup->selected = effect.row;
            announce_popup_change(hwnd_, PopupChange::SelectionMoved);
            break;
        case KeyEffect::Kind::HideEntry: {
            const std::string entry_key = popup->results[effect.row].key;
            popup.release();
            hide_entry_and_refresh(entry_key);
            break;
        }
        case KeyEffect::Kind::ForgetEntry: {
            const std::string entry_key = popup->results[effect.row].key;
            popup.release();
            if (forget_entry_launches(ui_, entry_key)) {
                recompute();
                stats_.refresh();
            }
            break;
        }
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    return PopupAction::none();
}

void PopupWindow::on_char(wchar_t unit) {
    {
        BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
        if (!popup || !shown(*popup, hwnd_) ||
            !type_unit(popup->query, static_cast<char16_t>(unit),
                       [this] { return clipboard_text(hwnd_); })) {
            return;
        }
        popup->caret_on = true;
    }
    recompute();
}

PopupAction PopupWindow::on_left_button(LPARAM position) {
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!popup) {
        return PopupAction::none();
    }
    const std::optional<std::size_t> row = row_at(*popup, position);
    if (!row) {
        return PopupAction::none();
    }
    popup->selected = *row;
    return choose_row(ui_, *popup, *row, LaunchMode::Normal);
}

PopupAction PopupWindow::on_accessible_open(WPARAM row) {
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!popup || !shown(*popup, hwnd_) || row >= popup->results.size()) {
        return PopupAction::none();
    }
    popup->selected = row;
    return choose_row(ui_, *popup, row, LaunchMode::Normal);
}

void PopupWindow::on_right_button(LPARAM position) {
    std::string key;
    std::string name;
    {
        BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
        if (!popup) {
            return;
        }
        const std::optional<std::size_t> row = row_at(*popup, position);
        if (!row) {
            return;
        }
        popup->selected = *row;
        key = popup->results[*row].key;
        name = popup->results[*row].name;
    }
    InvalidateRect(hwnd_, nullptr, FALSE);

    const unique_hmenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    const std::wstring text = widen("Masquer « " + name + " »\tCtrl+Suppr");
    const UINT flags = MF_STRING | (is_command_key(key) ? MF_GRAYED : 0);
    AppendMenuW(menu.get(), flags, kHideCommand, text.c_str());
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr));
    if (command == kHideCommand) {
        hide_entry_and_refresh(key);
    }
    SetFocus(hwnd_);
}

}  // namespace talvo::win
