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

#include "core/platform.h"

namespace talvo::testing {

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
inline LocalTime civil_from_unix(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    const std::int64_t weekday = ((days % 7) + 11) % 7;  // 1970-01-01 was a Thursday
    return LocalTime{static_cast<int>(year),
                     static_cast<int>(month),
                     static_cast<int>(day),
                     static_cast<int>(rest / 3600),
                     static_cast<int>(rest / 60 % 60),
                     static_cast<int>(rest % 60),
                     static_cast<int>(weekday)};
}

// Seconds since 1970 of a UTC civil date and time.
inline std::int64_t unix_from_civil(int year, int month, int day, int hour = 0, int minute = 0,
                                    int second = 0) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = month > 2 ? month - 3 : month + 9;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

// A clock that always reads `now`; local time is UTC shifted by a fixed offset.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(std::int64_t now, std::int64_t utc_offset_seconds = 0)
        : now_(now), offset_(utc_offset_seconds) {}

    void set(std::int64_t now) { now_ = now; }
    std::int64_t unix_now() const override { return now_; }
    LocalTime local_now() const override { return civil_from_unix(now_ + offset_); }
    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        return civil_from_unix(unix_seconds + offset_);
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

}  // namespace talvo::testing
