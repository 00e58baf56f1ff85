#include "win/popup/popup_input.h"

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
#include "win/popup/popup_visibility.h"

namespace talvo::win {
namespace {

constexpr UINT kHideCommand = 1;

bool held(int virtual_key) {
    return (GetKeyState(virtual_key) & 0x8000) != 0;
}

void repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

PopupAction choose_row(AppState& state, std::size_t row, LaunchMode mode) {
    std::optional<LaunchRequest> request =
        choose(state.memory, state.results, row, mode, state.query, system_platform());
    return request ? PopupAction::launch(std::move(*request)) : PopupAction::none();
}

// Keys and characters act only on a popup on screen: after a tray menu the
// hidden popup may still hold the keyboard.
bool shown(const AppState& state, HWND hwnd) {
    return state.visible && IsWindowVisible(hwnd);
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

}  // namespace

void hide_entry_and_refresh(AppState& state, std::string_view key) {
    if (hide_entry(state.hidden_keys, key, system_platform())) {
        state.match_index = MatchIndex(state.catalog, state.hidden_keys);
        recompute_results(state);
    }
}

PopupAction on_key_down(HWND hwnd, WPARAM virtual_key) {
    const KeyPress key{static_cast<std::uint32_t>(virtual_key), held(VK_CONTROL), held(VK_MENU),
                       held(VK_SHIFT)};
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return PopupAction::none();
    }
    const KeyEffect effect =
        popup_key_effect(key, shown(*state, hwnd), state->results.size(), state->selected);
    switch (effect.kind) {
        case KeyEffect::Kind::None:
            return PopupAction::none();
        case KeyEffect::Kind::Repaint:
            break;
        case KeyEffect::Kind::Complete:
            edit_query(state->query, {QueryEdit::Kind::Replace, state->results[effect.row].name});
            recompute_results(*state);
            break;
        case KeyEffect::Kind::Choose:
            return choose_row(*state, effect.row, effect.mode);
        case KeyEffect::Kind::Hide:
            return PopupAction::hide();
        case KeyEffect::Kind::Select:
            state->selected = effect.row;
            announce_popup_change(hwnd, PopupChange::SelectionMoved);
            break;
        case KeyEffect::Kind::HideEntry:
            hide_entry_and_refresh(*state, std::string(state->results[effect.row].key));
            break;
    }
    repaint(hwnd);
    return PopupAction::none();
}

void on_char(HWND hwnd, wchar_t unit) {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state || !shown(*state, hwnd) ||
        !type_unit(state->query, static_cast<char16_t>(unit),
                   [hwnd] { return clipboard_text(hwnd); })) {
        return;
    }
    state->caret_on = true;
    recompute_results(*state);
}

PopupAction on_left_button(HWND, LPARAM position) {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state) {
        return PopupAction::none();
    }
    const std::optional<std::size_t> row = layout::hit_row(
        GET_X_LPARAM(position), GET_Y_LPARAM(position), state->results.size(), state->scale);
    if (!row) {
        return PopupAction::none();
    }
    state->selected = *row;
    return choose_row(*state, *row, LaunchMode::Normal);
}

PopupAction on_accessible_open(HWND hwnd, WPARAM row) {
    StateSlot::Borrow state = ui_state().borrow();
    if (!state || !shown(*state, hwnd) || row >= state->results.size()) {
        return PopupAction::none();
    }
    state->selected = row;
    return choose_row(*state, row, LaunchMode::Normal);
}

void on_right_button(HWND hwnd, LPARAM position) {
    std::string key;
    std::string name;
    {
        StateSlot::Borrow state = ui_state().borrow();
        if (!state) {
            return;
        }
        const std::optional<std::size_t> row = layout::hit_row(
            GET_X_LPARAM(position), GET_Y_LPARAM(position), state->results.size(), state->scale);
        if (!row) {
            return;
        }
        state->selected = *row;
        key = state->results[*row].key;
        name = state->results[*row].name;
    }
    repaint(hwnd);

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
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr));
    if (command == kHideCommand) {
        if (StateSlot::Borrow state = ui_state().borrow()) {
            hide_entry_and_refresh(*state, key);
        }
    }
    SetFocus(hwnd);
}

}  // namespace talvo::win
