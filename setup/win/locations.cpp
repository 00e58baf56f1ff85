#include "setup/win/locations.h"

#include <windows.h>

#include "setup/core/failure_texts.h"
#include "win/platform/text_win.h"

namespace talvo::setup::win {
namespace {

// A variable's value; nothing when it is missing, empty, or not valid UTF-16
// (converting that would name another folder than the one the user has).
std::optional<std::string> variable(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < value.size()) {
            value.resize(length);
            break;
        }
        value.resize(length);  // too small: `length` counts the terminating zero
    }
    std::string text = talvo::win::narrow(value, InvalidUtf16::Empty);
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
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < path.size()) {
            path.resize(length);
            return talvo::win::narrow(path);
        }
        path.resize(path.size() * 2);  // cut short: try a larger buffer
    }
}

}  // namespace talvo::setup::win
