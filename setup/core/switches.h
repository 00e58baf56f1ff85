// The setup program's command-line switches.
#pragma once

#include <string>
#include <vector>

namespace talvo::setup {

struct SetupSwitches {
    bool silent = false;     // /s, /S or --silent: no questions, no message boxes
    bool uninstall = false;  // /uninstall or --uninstall
};

// Each argument after the program's own path is compared whole and case-sensitively;
// any position counts and other arguments are ignored.
SetupSwitches parse_setup_switches(const std::vector<std::string>& arguments_after_program);

}  // namespace talvo::setup
