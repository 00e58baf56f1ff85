// Test doubles for the platform interfaces: a clock fixed at a chosen instant,
// an environment with chosen variables, and a scratch folder on the real file
// system that disappears with the test.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "core/shell/platform.h"
#include "core/stats/civil_time.h"

namespace talvo::testing {

using talvo::civil_from_unix;
using talvo::unix_from_civil;

// A clock that always reads `now`; local time is UTC shifted by a fixed offset.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(std::int64_t now, std::int64_t utc_offset_seconds = 0)
        : now_(now), offset_(utc_offset_seconds) {}

    void set(std::int64_t now) { now_ = now; }
    std::int64_t unix_now() const override { return now_; }
    LocalTime local_now() const override { return civil_from_unix(now_, offset_); }
    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        return civil_from_unix(unix_seconds, offset_);
    }

  private:
    std::int64_t now_;
    std::int64_t offset_;
};

// A clock that reads `now` but converts to local time with the system's zone
// rules (TZ=Europe/Paris in the daylight-saving tests).
class SystemZoneClock final : public Clock {
  public:
    explicit SystemZoneClock(std::int64_t now) : now_(now) {}

    std::int64_t unix_now() const override { return now_; }
    LocalTime local_now() const override { return to_local(now_).value_or(LocalTime{}); }
    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        return system_platform().clock.to_local(unix_seconds);
    }

  private:
    std::int64_t now_;
};

class FakeEnvironment final : public Environment {
  public:
    std::map<std::string, std::string, std::less<>> variables;
    std::uint32_t pid = 4120;

    std::optional<std::string> variable(std::string_view name) const override {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::uint32_t process_id() const override { return pid; }
};

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device seed;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("talvo-test-" + std::to_string(stamp) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder as a UTF-8 path text, as the platform interfaces take it.
    std::string path() const {
        const auto text = path_.u8string();
        return std::string(text.begin(), text.end());
    }
    std::string file(std::string_view name) const { return join_path(path(), name); }

  private:
    std::filesystem::path path_;
};

// The real file system and system queries with a fake clock and environment,
// APPDATA pointing at a scratch folder.
class TestPlatform {
  public:
    explicit TestPlatform(std::int64_t now = 1'780'000'000, std::int64_t utc_offset = 0)
        : clock(now, utc_offset) {
        environment.variables["APPDATA"] = scratch.path();
    }

    Platform get() {
        const Platform real = system_platform();
        return Platform{clock, environment, real.files, real.system};
    }

    // %APPDATA%\Talvo\<name>
    std::string data_file(std::string_view name) const {
        return join_path(join_path(scratch.path(), "Talvo"), name);
    }

    ScratchFolder scratch;
    FixedClock clock;
    FakeEnvironment environment;
};

// Files in memory on a full disk: a plain write stops halfway through, as a
// real one does when the space runs out; an atomic replacement fails whole.
class FullDiskFiles final : public FileSystem {
  public:
    std::map<std::string, std::string, std::less<>> files;

    std::optional<std::string> read_file(const std::string& path) const override {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<std::uint64_t> file_size(const std::string& path) const override {
        const auto text = read_file(path);
        return text ? std::optional<std::uint64_t>(text->size()) : std::nullopt;
    }
    std::optional<char> last_byte(const std::string& path) const override {
        const auto text = read_file(path);
        return text && !text->empty() ? std::optional(text->back()) : std::nullopt;
    }
    bool exists(const std::string& path) const override { return files.count(path) != 0; }
    bool create_directories(const std::string&) override { return true; }
    WriteResult write(const std::string& path, std::string_view bytes, WriteMode mode) override {
        std::string& file = files[path];
        if (mode == WriteMode::Truncate) {
            file.clear();
        }
        file.append(bytes.substr(0, bytes.size() / 2));
        return {false, "disque plein"};
    }
    WriteResult replace_atomically(const std::string&, std::string_view) override {
        return {false, "disque plein"};
    }
};

}  // namespace talvo::testing
