// The launcher's process entry: single instance, window, threads, state,
// hotkey, and the message loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace talvo::win {

// Runs the launcher with its arguments (the program path first); returns the
// process exit status.
int run_launcher(HINSTANCE instance, const std::vector<std::string>& arguments);

}  // namespace talvo::win
