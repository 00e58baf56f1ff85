#include "setup/core/switches.h"

namespace talvo::setup {

SetupSwitches parse_setup_switches(const std::vector<std::string>& arguments_after_program) {
    SetupSwitches switches;
    for (const std::string& argument : arguments_after_program) {
        switches.silent |= argument == "/s" || argument == "/S" || argument == "--silent";
        switches.uninstall |= argument == "/uninstall" || argument == "--uninstall";
    }
    return switches;
}

}  // namespace talvo::setup
