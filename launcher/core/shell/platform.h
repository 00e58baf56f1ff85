// The narrow interfaces through which the core reaches the operating system:
// a clock, the environment, files, and a few system questions. Windows and
// POSIX each implement them; tests may substitute their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 = Sunday, as the system reports it

    bool operator==(const LocalTime&) const = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Whole seconds since 1970-01-01 UTC; negative when the system clock reads earlier.
    virtual std::int64_t unix_now() const = 0;
    virtual LocalTime local_now() const = 0;
    // Local date and time of an instant under the zone rules in force at that instant.
    virtual std::optional<LocalTime> to_local(std::int64_t unix_seconds) const = 0;
};

class Environment {
  public:
    virtual ~Environment() = default;
    virtual std::optional<std::string> variable(std::string_view name) const = 0;
    virtual std::uint32_t process_id() const = 0;
};

enum class KnownFolder : std::uint8_t {
    Pictures,
    Downloads,
    Documents,
    Desktop,
    Music,
    Videos,
    Profile
};

class SystemQueries {
  public:
    virtual ~SystemQueries() = default;
    virtual std::optional<std::string> known_folder_path(KnownFolder folder) const = 0;
    // Path of a known folder named by its identifier text "{xxxxxxxx-...}".
    virtual std::optional<std::string> known_folder_path_by_id(std::string_view id) const = 0;
    // Whether the Run value that starts the launcher at log-on is present.
    virtual bool autostart_registered() const = 0;
    virtual std::optional<std::string> executable_path() const = 0;
};

// Outcome of a write: `error` holds the system's text when `ok` is false.
struct WriteResult {
    bool ok = false;
    std::string error;
};

enum class WriteMode : std::uint8_t { Append, Truncate };

// Files named by UTF-8 paths. No call throws; failures come back as values.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The whole content; nothing when the file is missing, a folder or unreadable.
    virtual std::optional<std::string> read_file(const std::string& path) const = 0;
    virtual std::optional<std::uint64_t> file_size(const std::string& path) const = 0;
    virtual std::optional<char> last_byte(const std::string& path) const = 0;
    virtual bool exists(const std::string& path) const = 0;
    // Creates the folder and any missing parents; true when it exists afterwards.
    virtual bool create_directories(const std::string& path) = 0;
    // Opens (creating when missing, shared for read, write and delete) and writes.
    virtual WriteResult write(const std::string& path, std::string_view bytes, WriteMode mode) = 0;
    // Writes a temporary file beside `path` and moves it over `path`, so a crash
    // or a full disk leaves the old content intact.
    virtual WriteResult replace_atomically(const std::string& path, std::string_view bytes) = 0;
};

struct Platform {
    const Clock& clock;
    const Environment& environment;
    FileSystem& files;
    const SystemQueries& system;
};

// The running system's implementation (Win32 on Windows, POSIX elsewhere).
Platform system_platform();

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::string join_path(std::string_view folder, std::string_view name);

// %APPDATA%\Talvo, or .\Talvo when APPDATA is not set.
std::string data_folder(const Environment& environment);

}  // namespace talvo
