// The setup program from start to end: switches, questions, the install or
// uninstall sequence, failure reporting and the exit status.
#pragma once

#include <string>
#include <vector>

namespace talvo::setup::win {

// 0 when the sequence ends normally or the user declines, 1 after a failure.
int run_setup(const std::vector<std::string>& arguments_after_program);

}  // namespace talvo::setup::win
