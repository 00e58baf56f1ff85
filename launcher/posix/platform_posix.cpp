// POSIX implementation of the core's platform interfaces, for the native
// tests and the developer tools.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "core/shell/platform.h"

namespace talvo {
namespace {

std::string error_text(int code) {
    return std::strerror(code);
}

class PosixClock final : public Clock {
  public:
    std::int64_t unix_now() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<std::int64_t>(now.tv_sec);
    }

    LocalTime local_now() const override { return to_local(unix_now()).value_or(LocalTime{}); }

    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        const auto t = static_cast<time_t>(unix_seconds);
        tm parts{};
        if (localtime_r(&t, &parts) == nullptr) {
            return std::nullopt;
        }
        return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                         parts.tm_min,         parts.tm_sec,     parts.tm_wday};
    }
};

class PosixEnvironment final : public Environment {
  public:
    std::optional<std::string> variable(std::string_view name) const override {
        const char* value = std::getenv(std::string(name).c_str());
        return value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::uint32_t process_id() const override { return static_cast<std::uint32_t>(getpid()); }
};

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

  private:
    int fd_;
};

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

class PosixFileSystem final : public FileSystem {
  public:
    std::optional<std::string> read_file(const std::string& path) const override {
        FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat info {};
        if (!fd || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        std::string content;
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return std::nullopt;
            }
            if (got == 0) {
                return content;
            }
            content.append(buffer, static_cast<std::size_t>(got));
        }
    }

    std::optional<std::uint64_t> file_size(const std::string& path) const override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    std::optional<char> last_byte(const std::string& path) const override {
        FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
        char byte = 0;
        if (!fd || lseek(fd.get(), -1, SEEK_END) < 0 || ::read(fd.get(), &byte, 1) != 1) {
            return std::nullopt;
        }
        return byte;
    }

    bool exists(const std::string& path) const override {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }

    bool create_directories(const std::string& path) override {
        std::error_code error;
        std::filesystem::create_directories(path, error);
        return std::filesystem::is_directory(path, error);
    }

    WriteResult write(const std::string& path, std::string_view bytes, WriteMode mode) override {
        const int flags =
            O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
        FileDescriptor fd(open(path.c_str(), flags, 0644));
        if (!fd) {
            return {false, error_text(errno)};
        }
        if (!write_all(fd.get(), bytes)) {
            return {false, error_text(errno)};
        }
        return {true, {}};
    }

    WriteResult replace_atomically(const std::string& path, std::string_view bytes) override {
        const std::string temporary = path + ".tmp" + std::to_string(getpid());
        {
            FileDescriptor fd(
                open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (!fd) {
                return {false, error_text(errno)};
            }
            if (!write_all(fd.get(), bytes) || fsync(fd.get()) != 0) {
                const int code = errno;
                unlink(temporary.c_str());
                return {false, error_text(code)};
            }
        }
        if (rename(temporary.c_str(), path.c_str()) != 0) {
            const int code = errno;
            unlink(temporary.c_str());
            return {false, error_text(code)};
        }
        return {true, {}};
    }
};

class PosixSystemQueries final : public SystemQueries {
  public:
    // Off Windows the user's folders are the usual ones below the home folder.
    std::optional<std::string> known_folder_path(KnownFolder folder) const override {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            return std::nullopt;
        }
        switch (folder) {
            case KnownFolder::Pictures:
                return join_path(home, "Pictures");
            case KnownFolder::Downloads:
                return join_path(home, "Downloads");
            case KnownFolder::Documents:
                return join_path(home, "Documents");
            case KnownFolder::Desktop:
                return join_path(home, "Desktop");
            case KnownFolder::Music:
                return join_path(home, "Music");
            case KnownFolder::Videos:
                return join_path(home, "Videos");
            case KnownFolder::Profile:
                return std::string(home);
        }
        return std::nullopt;
    }

    std::optional<std::string> known_folder_path_by_id(std::string_view) const override {
        return std::nullopt;
    }

    bool autostart_registered() const override { return false; }

    std::optional<std::string> executable_path() const override {
        std::error_code error;
        const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::nullopt : std::optional<std::string>(path.string());
    }
};

}  // namespace

Platform system_platform() {
    static const PosixClock clock;
    static const PosixEnvironment environment;
    static PosixFileSystem files;
    static const PosixSystemQueries system;
    return Platform{clock, environment, files, system};
}

}  // namespace talvo
