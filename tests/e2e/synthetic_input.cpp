#include "synthetic_input.h"

#include <vector>

namespace talvo::e2e {
namespace {

bool is_extended(WORD virtual_key) {
    switch (virtual_key) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_DELETE:
        case VK_INSERT:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_RMENU:
            return true;
        default:
            return false;
    }
}

INPUT key_event(WORD virtual_key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0) | (is_extended(virtual_key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT unicode_event(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// A mouse event at an absolute screen point: the point travels with the
// event, so a pointer position the system has not caught up with cannot
// redirect the click.
INPUT mouse_event_at(POINT screen, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width - 1) / width);
    input.mi.dy =
        static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void click(POINT screen, DWORD down, DWORD up) {
    SetCursorPos(screen.x, screen.y);
    send({mouse_event_at(screen, 0), mouse_event_at(screen, down)});
    Sleep(20);
    send({mouse_event_at(screen, up)});
}

}  // namespace

void press_key(WORD virtual_key) {
    send({key_event(virtual_key, false), key_event(virtual_key, true)});
}

void press_with_ctrl(WORD virtual_key) {
    send({key_event(VK_CONTROL, false), key_event(virtual_key, false), key_event(virtual_key, true),
          key_event(VK_CONTROL, true)});
}

void press_with_ctrl_shift(WORD virtual_key) {
    send({key_event(VK_CONTROL, false), key_event(VK_SHIFT, false), key_event(virtual_key, false),
          key_event(virtual_key, true), key_event(VK_SHIFT, true), key_event(VK_CONTROL, true)});
}

void press_with_altgr(WORD virtual_key) {
    send({key_event(VK_LCONTROL, false), key_event(VK_RMENU, false), key_event(virtual_key, false),
          key_event(virtual_key, true), key_event(VK_RMENU, true), key_event(VK_LCONTROL, true)});
}

void press_alt_space() {
    send({key_event(VK_MENU, false), key_event(VK_SPACE, false), key_event(VK_SPACE, true),
          key_event(VK_MENU, true)});
}

void type_text(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t unit : text) {
        inputs.push_back(unicode_event(unit, false));
        inputs.push_back(unicode_event(unit, true));
    }
    send(std::move(inputs));
}

void press_ctrl_backspace() {
    type_text(L"\x7F");
}

void left_click(POINT screen) {
    click(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void right_click(POINT screen) {
    click(screen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

bool set_clipboard_text(std::wstring_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return false;
    }
    auto* units = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(units, text.size());
    units[text.size()] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!stored) {
        GlobalFree(memory);
    }
    return stored;
}

}  // namespace talvo::e2e
