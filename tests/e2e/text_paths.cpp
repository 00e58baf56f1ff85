#include "text_paths.h"

#include <windows.h>

namespace talvo::e2e {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), count);
    return text;
}

std::string utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int count =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), count, nullptr, nullptr);
    return bytes;
}

std::wstring windows_path(std::string_view path) {
    std::wstring converted = wide(path);
    for (wchar_t& c : converted) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    // Wine shows the Unix root as drive Z:.
    if (!path.empty() && path.front() == '/') {
        converted.insert(0, L"Z:");
    }
    return converted;
}

std::wstring talvo_exe_path() {
    return windows_path(TALVO_EXE_PATH);
}

std::wstring artifacts_folder() {
    const std::wstring folder = windows_path(TALVO_ARTIFACTS_DIR);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring artifact_path(const std::wstring& name) {
    return artifacts_folder() + L"\\" + name;
}

}  // namespace talvo::e2e
