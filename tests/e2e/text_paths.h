// Text conversions and the paths the build hands to the program.
#pragma once

#include <string>
#include <string_view>

namespace talvo::e2e {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// A path given by the build (a Unix path under Wine's Z: drive) as a Windows path.
std::wstring windows_path(std::string_view path);

std::wstring talvo_exe_path();

// The folder for screenshots, created on first use.
std::wstring artifacts_folder();
std::wstring artifact_path(const std::wstring& name);

}  // namespace talvo::e2e
