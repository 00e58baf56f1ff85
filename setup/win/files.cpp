#include "setup/win/files.h"

#include <windows.h>

#include "setup/core/failure_texts.h"
#include "setup/core/write_retry.h"
#include "setup/win/locations.h"
#include "win/platform/system_error.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup::win {
namespace {

using talvo::win::narrow;
using talvo::win::system_error_text;
using talvo::win::unique_file;
using talvo::win::unique_find;
using talvo::win::widen;

bool is_folder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder, its missing parents first; 0 or the error of the call that failed.
DWORD create_folder_chain(const std::wstring& folder) {
    if (folder.empty() || is_folder(folder)) {
        return ERROR_SUCCESS;
    }
    const std::size_t separator = folder.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator > 0) {
        const DWORD parent = create_folder_chain(folder.substr(0, separator));
        if (parent != ERROR_SUCCESS) {
            return parent;
        }
    }
    if (CreateDirectoryW(folder.c_str(), nullptr) || is_folder(folder)) {
        return ERROR_SUCCESS;
    }
    return GetLastError();
}

// One attempt: create or truncate the file and write every byte; 0 or the error.
DWORD write_whole_file(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return GetLastError();
    }
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() < 0x10000000 ? static_cast<DWORD>(bytes.size())
                                                      : static_cast<DWORD>(0x10000000);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;  // no progress: retrying here would never end
        }
        bytes = bytes.subspan(written);  // a short write is resumed where it stopped
    }
    return ERROR_SUCCESS;
}

// The spelling the file system keeps: "..", short names and "/" resolved where it can.
std::string canonical_spelling(const std::string& path) {
    const std::wstring wide = widen(path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty() || GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                         nullptr) == 0) {
        return path;
    }
    full.resize(wcslen(full.c_str()));
    std::wstring long_form(GetLongPathNameW(full.c_str(), nullptr, 0), L'\0');
    if (!long_form.empty() && GetLongPathNameW(full.c_str(), long_form.data(),
                                               static_cast<DWORD>(long_form.size())) != 0) {
        long_form.resize(wcslen(long_form.c_str()));
        return narrow(long_form);
    }
    return narrow(full);
}

void delete_tree_contents(const std::wstring& folder);

void delete_entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) {
    const bool is_directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool is_link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (!is_directory) {
        DeleteFileW(path.c_str());
        return;
    }
    if (!is_link) {
        delete_tree_contents(path);
    }
    RemoveDirectoryW(path.c_str());  // for a link: the link alone, not what it points to
}

void delete_tree_contents(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = folder + L"\\*";
    const unique_find search(FindFirstFileW(pattern.c_str(), &entry));
    if (!search) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            delete_entry(folder + L"\\" + name, entry);
        }
    } while (FindNextFileW(search.get(), &entry));
}

}  // namespace

StepResult create_install_folder(const std::string& folder) {
    const DWORD error = create_folder_chain(widen(folder));
    if (error != ERROR_SUCCESS) {
        return Failure{create_folder_failure(folder, system_error_text(error))};
    }
    return Done{};
}

StepResult write_payload(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::wstring wide_path = widen(path);
    const std::uint32_t error = write_with_retries(
        [&] { return static_cast<std::uint32_t>(write_whole_file(wide_path, bytes)); },
        [](std::chrono::milliseconds pause) { Sleep(static_cast<DWORD>(pause.count())); });
    if (error != ERROR_SUCCESS) {
        return Failure{write_failure(path, system_error_text(error))};
    }
    return Done{};
}

StepResult copy_uninstaller(const std::string& uninstaller) {
    const std::optional<std::string> own_path = running_program_path();
    if (!own_path) {
        return Failure{system_error_text(GetLastError())};
    }
    // Run as the installed uninstaller: it cannot be copied onto itself.
    if (same_path(canonical_spelling(*own_path), canonical_spelling(uninstaller))) {
        return Done{};
    }
    if (!CopyFileW(widen(*own_path).c_str(), widen(uninstaller).c_str(), FALSE)) {
        return Failure{copy_uninstaller_failure(system_error_text(GetLastError()))};
    }
    // The copy keeps the download's Mark of the Web, which would make Windows
    // warn when the uninstaller starts; usually there is none, so no failure counts.
    DeleteFileW(widen(zone_identifier_stream(uninstaller)).c_str());
    return Done{};
}

std::optional<std::uint64_t> file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool folder_exists(const std::string& path) {
    return is_folder(widen(path));
}

void delete_file(const std::string& path) {
    DeleteFileW(widen(path).c_str());
}

void delete_folder_tree(const std::string& folder) {
    const std::wstring wide = widen(folder);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        delete_tree_contents(wide);
    }
    RemoveDirectoryW(wide.c_str());
}

}  // namespace talvo::setup::win
