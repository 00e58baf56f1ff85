// Keyboard and mouse input as a user would give it, through SendInput.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace talvo::e2e {

// One key pressed and released.
void press_key(WORD virtual_key);
// Ctrl held around one key (Ctrl+V, Ctrl+Backspace, Ctrl+Delete...).
void press_with_ctrl(WORD virtual_key);
// Ctrl and Shift held around one key (Ctrl+Shift+Delete).
void press_with_ctrl_shift(WORD virtual_key);
// AltGr held around one key, as Windows sends it: left Ctrl and right Alt.
void press_with_altgr(WORD virtual_key);
// Alt down, Space, Alt up: the launcher's global hotkey.
void press_alt_space();
// Characters typed as Unicode input, so accents need no keyboard layout.
void type_text(std::wstring_view text);
// Ctrl+Backspace as Windows delivers it to a window: the character 0x7F. It is
// typed as that character because Wine's keyboard layer turns the two keys
// into a plain Backspace (0x08).
void press_ctrl_backspace();
void left_click(POINT screen);
void right_click(POINT screen);

// Puts a Unicode text on the clipboard; false when the clipboard refuses.
bool set_clipboard_text(std::wstring_view text);

}  // namespace talvo::e2e
