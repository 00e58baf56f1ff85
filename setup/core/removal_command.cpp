#include "setup/core/removal_command.h"

namespace talvo::setup {
namespace {

bool is_ascii_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// "C:\..." or a network path "\\server\...".
bool is_absolute(std::string_view path) {
    if (path.size() >= 3 && is_ascii_letter(path[0]) && path[1] == ':' && is_separator(path[2])) {
        return true;
    }
    return path.size() >= 3 && is_separator(path[0]) && is_separator(path[1]) &&
           !is_separator(path[2]);
}

// Characters that cmd.exe reads as separators, operators or expansions in an
// unquoted word.
constexpr std::string_view kCmdSpecial = " \t%\"&|<>^()!;,=";

}  // namespace

std::optional<std::string> removal_command_tail(std::string_view install_folder,
                                                std::string_view system_folder) {
    if (install_folder.find_first_of("%\"") != std::string_view::npos ||
        !is_absolute(install_folder) || !is_absolute(system_folder) ||
        system_folder.find_first_of(kCmdSpecial) != std::string_view::npos) {
        return std::nullopt;
    }
    return "/d /v:off /c " + std::string(system_folder) +
           "\\ping.exe -n 3 127.0.0.1 >nul & rmdir /s /q \"" + std::string(install_folder) + "\"";
}

}  // namespace talvo::setup
