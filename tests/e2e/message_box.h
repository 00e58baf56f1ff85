// The launcher's message boxes as a person meets them: found by their caption,
// read, and answered with one of their buttons.
#pragma once

#include <windows.h>

#include <string>

namespace talvo::e2e {

// A visible box titled "Talvo" of that process, waited for; nullptr when none came.
HWND wait_talvo_box(DWORD process);
// The box's text, as its static controls show it.
std::wstring message_box_text(HWND box);
// Presses the box's button (IDOK, IDYES, IDNO) and waits until the box is gone.
bool answer_box(HWND box, int button);

}  // namespace talvo::e2e
