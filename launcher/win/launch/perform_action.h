// Carrying out what the popup decided: hide it, then run a command of the
// launcher, bring an entry's open window forward, or start the entry through
// the shell.
#pragma once

#include <windows.h>

#include <optional>

#include "core/launch/focus_rules.h"
#include "core/launch/launch.h"

namespace talvo::win {

// Call with the UI state released: hiding, launching and the commands may run
// nested message loops.
void perform_action(HWND hwnd, PopupAction action);

// Restores a minimised window and brings it to the foreground.
void bring_window_forward(HWND window);

// ShellExecuteW of "explorer.exe" with these parameters; its result, signed.
std::int64_t run_shell(const std::string& parameters);

}  // namespace talvo::win
