// Carrying out what the popup decided: run a command of the launcher, bring an
// entry's open window forward, or start the entry through the shell, hiding
// the popup in the order that lets the new window come to the front.
#pragma once

#include <windows.h>

#include <optional>

#include "core/launch/focus_rules.h"
#include "core/launch/launch.h"

namespace talvo::win {

class PopupWindow;
class StatsWindow;

// Call with the UI state released: hiding, launching and the commands may run
// nested message loops.
void perform_action(PopupWindow& popup, StatsWindow& stats, PopupAction action);

// Restores a minimised window, without waiting for its program, and brings it
// to the foreground.
void bring_window_forward(HWND window);

// ShellExecuteW of "explorer.exe" with these parameters; its result, signed.
std::int64_t run_shell(const std::string& parameters);

}  // namespace talvo::win
