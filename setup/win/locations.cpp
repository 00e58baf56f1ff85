#include "setup/win/locations.h"

#include <windows.h>

#include "setup/core/failure_texts.h"
#include "win/platform/system_values.h"
#include "win/platform/text_win.h"

namespace talvo::setup::win {
namespace {

// A variable's value; nothing when it is missing, empty, or not valid UTF-16
// (converting that would name another folder than the one the user has).
std::optional<std::string> variable(const wchar_t* name) {
    const std::optional<std::wstring> value = talvo::win::environment_variable(name);
    if (!value) {
        return std::nullopt;
    }
    std::string text = talvo::win::narrow(*value, InvalidUtf16::Empty);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

Result<std::string> variable_or_failure(const wchar_t* name, const char* name_text) {
    std::optional<std::string> value = variable(name);
    if (!value) {
        return Failure{missing_variable_failure(name_text)};
    }
    return *std::move(value);
}

}  // namespace

Result<InstallPaths> install_folder() {
    const Result<std::string> local = variable_or_failure(L"LOCALAPPDATA", "LOCALAPPDATA");
    if (!local.ok()) {
        return Failure{local.failure_text()};
    }
    return install_paths(local.value());
}

Result<std::string> shortcut_path() {
    const Result<std::string> roaming = variable_or_failure(L"APPDATA", "APPDATA");
    if (!roaming.ok()) {
        return roaming;
    }
    return shortcut_path_in(roaming.value());
}

Result<std::string> data_folder() {
    const Result<std::string> roaming = variable_or_failure(L"APPDATA", "APPDATA");
    if (!roaming.ok()) {
        return roaming;
    }
    return data_folder_in(roaming.value());
}

std::optional<std::string> running_program_path() {
    const std::optional<std::wstring> path = talvo::win::own_program_path();
    return path ? std::optional(talvo::win::narrow(*path)) : std::nullopt;
}

}  // namespace talvo::setup::win
