// Win32 implementation of the core's platform interfaces.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "core/shell/autostart.h"
#include "core/shell/platform.h"
#include "win/platform/system_error.h"
#include "win/platform/system_values.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo {
namespace {

using win::environment_variable;
using win::narrow;
using win::own_program_path;
using win::unique_file;
using win::widen;

constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kUnixEpochInFileTime = 116'444'736'000'000'000;  // 1970-01-01 in 100 ns

// Day of week (0 = Sunday) of a proleptic Gregorian date.
int weekday_of(int year, int month, int day) {
    static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) {
        year -= 1;
    }
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffset[month - 1] + day) % 7;
}

LocalTime from_system_time(const SYSTEMTIME& t) {
    return LocalTime{t.wYear,
                     t.wMonth,
                     t.wDay,
                     t.wHour,
                     t.wMinute,
                     t.wSecond,
                     weekday_of(t.wYear, t.wMonth, t.wDay)};
}

class WinClock final : public Clock {
  public:
    std::int64_t unix_now() const override {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        const std::int64_t ticks =
            static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                      now.dwLowDateTime) -
            kUnixEpochInFileTime;
        // Whole seconds, rounded down also before 1970.
        return ticks >= 0 ? ticks / kFileTimeTicksPerSecond
                          : -((-ticks + kFileTimeTicksPerSecond - 1) / kFileTimeTicksPerSecond);
    }

    LocalTime local_now() const override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return from_system_time(now);
    }

    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        constexpr std::int64_t kLimit =
            (INT64_MAX - kUnixEpochInFileTime) / kFileTimeTicksPerSecond;
        if (unix_seconds < -kUnixEpochInFileTime / kFileTimeTicksPerSecond ||
            unix_seconds > kLimit) {
            return std::nullopt;
        }
        const auto ticks = static_cast<std::uint64_t>(unix_seconds * kFileTimeTicksPerSecond +
                                                      kUnixEpochInFileTime);
        const FILETIME file_time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        SYSTEMTIME utc{};
        SYSTEMTIME local{};
        if (!FileTimeToSystemTime(&file_time, &utc) ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
            return std::nullopt;
        }
        return from_system_time(local);
    }
};

class WinEnvironment final : public Environment {
  public:
    std::optional<std::string> variable(std::string_view name) const override {
        const std::optional<std::wstring> value = environment_variable(widen(name).c_str());
        return value ? std::optional(narrow(*value)) : std::nullopt;
    }

    std::uint32_t process_id() const override { return GetCurrentProcessId(); }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

unique_file open_for_reading(const std::string& path) {
    return unique_file(CreateFileW(widen(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

WriteResult failure() {
    return {false, win::system_error_text(GetLastError())};
}

// Windows refuses to replace a file another program holds open, even to read
// it (a scanner, a backup, an editor): the move is tried again for a moment.
constexpr int kMoveAttempts = 20;
constexpr DWORD kMovePauseMs = 50;

bool move_over(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == kMoveAttempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            return false;
        }
        Sleep(kMovePauseMs);
    }
}

class WinFileSystem final : public FileSystem {
  public:
    std::optional<std::string> read_file(const std::string& path) const override {
        const unique_file file = open_for_reading(path);
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
            return std::nullopt;
        }
        std::string content;
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
                return std::nullopt;
            }
            if (got == 0) {
                return content;
            }
            content.append(buffer, got);
        }
    }

    std::optional<std::uint64_t> file_size(const std::string& path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

    std::optional<char> last_byte(const std::string& path) const override {
        const unique_file file = open_for_reading(path);
        LARGE_INTEGER back{};
        back.QuadPart = -1;
        char byte = 0;
        DWORD got = 0;
        if (!file || !SetFilePointerEx(file.get(), back, nullptr, FILE_END) ||
            !ReadFile(file.get(), &byte, 1, &got, nullptr) || got != 1) {
            return std::nullopt;
        }
        return byte;
    }

    bool exists(const std::string& path) const override {
        return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Creates each missing folder of the path in turn; relative paths work too.
    bool create_directories(const std::string& path) override {
        const std::wstring wide = widen(path);
        for (std::size_t i = 1; i <= wide.size(); ++i) {
            if (i == wide.size() || wide[i] == L'\\' || wide[i] == L'/') {
                const std::wstring part = wide.substr(0, i);
                if (!part.empty() && part.back() != L':') {
                    CreateDirectoryW(part.c_str(), nullptr);
                }
            }
        }
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    WriteResult write(const std::string& path, std::string_view bytes, WriteMode mode) override {
        const DWORD access = mode == WriteMode::Append ? FILE_APPEND_DATA : GENERIC_WRITE;
        const unique_file file(CreateFileW(widen(path).c_str(), access, kShareAll, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return failure();
        }
        if (mode == WriteMode::Truncate && !SetEndOfFile(file.get())) {
            return failure();
        }
        if (!write_all(file.get(), bytes)) {
            return failure();
        }
        return {true, {}};
    }

    WriteResult replace_atomically(const std::string& path, std::string_view bytes) override {
        const std::wstring target = widen(path);
        const std::wstring temporary =
            target + widen(".tmp" + std::to_string(GetCurrentProcessId()));
        {
            const unique_file file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) {
                return failure();
            }
            if (!write_all(file.get(), bytes) || !FlushFileBuffers(file.get())) {
                const WriteResult result = failure();
                DeleteFileW(temporary.c_str());
                return result;
            }
        }
        if (!move_over(temporary, target)) {
            const WriteResult result = failure();
            DeleteFileW(temporary.c_str());
            return result;
        }
        return {true, {}};
    }
};

const KNOWNFOLDERID& folder_id(KnownFolder folder) {
    switch (folder) {
        case KnownFolder::Pictures:
            return FOLDERID_Pictures;
        case KnownFolder::Downloads:
            return FOLDERID_Downloads;
        case KnownFolder::Documents:
            return FOLDERID_Documents;
        case KnownFolder::Desktop:
            return FOLDERID_Desktop;
        case KnownFolder::Music:
            return FOLDERID_Music;
        case KnownFolder::Videos:
            return FOLDERID_Videos;
        case KnownFolder::Profile:
            return FOLDERID_Profile;
    }
    return FOLDERID_Profile;
}

// The folder's path; a path that is not valid UTF-16 becomes an empty text.
std::optional<std::string> known_folder(const KNOWNFOLDERID& id) {
    wchar_t* raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &raw);
    const win::unique_cotaskmem_string path(raw);
    if (FAILED(hr) || !path) {
        return std::nullopt;
    }
    return narrow(path.get(), InvalidUtf16::Empty);
}

class WinSystemQueries final : public SystemQueries {
  public:
    std::optional<std::string> known_folder_path(KnownFolder folder) const override {
        return known_folder(folder_id(folder));
    }

    std::optional<std::string> known_folder_path_by_id(std::string_view id) const override {
        std::wstring wide = widen(id);
        CLSID clsid{};
        if (FAILED(CLSIDFromString(wide.data(), &clsid))) {
            return std::nullopt;
        }
        return known_folder(clsid);
    }

    bool autostart_registered() const override {
        // Only a plain string value counts; its data is never compared with this
        // program's path. Without RRF_NOEXPAND the system would expand a
        // REG_EXPAND_SZ value and report it as a string.
        return RegGetValueW(HKEY_CURRENT_USER, widen(kRunKey).c_str(), widen(kRunValueName).c_str(),
                            RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    }

    std::optional<std::string> executable_path() const override {
        const std::optional<std::wstring> path = own_program_path();
        return path ? std::optional(narrow(*path)) : std::nullopt;
    }
};

}  // namespace

Platform system_platform() {
    static const WinClock clock;
    static const WinEnvironment environment;
    static WinFileSystem files;
    static const WinSystemQueries system;
    return Platform{clock, environment, files, system};
}

}  // namespace talvo
