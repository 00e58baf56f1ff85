// The failure texts of the install and uninstall steps, in French; `message`
// is the operating system's description of the error.
#pragma once

#include <string>
#include <string_view>

namespace talvo::setup {

// "variable LOCALAPPDATA introuvable"
std::string missing_variable_failure(std::string_view variable);
std::string create_folder_failure(std::string_view folder, std::string_view message);
std::string write_failure(std::string_view path, std::string_view message);
std::string copy_uninstaller_failure(std::string_view message);
std::string shortcut_failure(std::string_view message);
// "registre " + key + "\" + value name + " : " + message
std::string registry_failure(std::string_view key, std::string_view value_name,
                             std::string_view message);
std::string launch_failure(std::string_view message);

}  // namespace talvo::setup
