// Which running launchers the setup stops, and how it starts the new one.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace talvo::setup {

// A running launcher is first asked to quit, as its own quit command does
// (its notification-area icon goes and its history stays whole); only what
// still runs after this time is terminated, waiting at most
// `kTerminateWait` for each.
inline constexpr std::chrono::milliseconds kQuitRequestWait{2000};
inline constexpr std::chrono::milliseconds kTerminateWait{3000};
// During the wait the launchers' windows are looked for again at this
// interval: a launcher that is still starting has no window to ask yet.
inline constexpr std::chrono::milliseconds kQuitRequestInterval{100};

// Whether a process is a launcher this setup stops: named "talvo.exe" (any
// folder, ASCII case ignored) and of the setup's own log-on session, so that a
// setup run as administrator leaves other users' launchers alone. A launcher
// that owns a top-level window of the launcher's class on this desktop is of
// this session by definition, and its session is not asked: a setup without
// administrator rights cannot read it from an elevated launcher. Without such
// a window (a launcher still starting), `session` decides, and a session that
// cannot be read counts as another one.
bool is_launcher_to_stop(std::string_view image_name, bool owns_launcher_window,
                         std::optional<std::uint32_t> session,
                         std::optional<std::uint32_t> own_session);

// A token's elevation type, as the system reports it.
enum class Elevation : std::uint8_t { Unknown, Default, Full, Limited };

enum class LauncherStart : std::uint8_t {
    Direct,               // a child process of the setup, failure reported
    ThroughDesktopShell,  // asked of the desktop's shell, failure ignored
    NotStarted,           // the Run value, when chosen, starts it at the next log-on
};

// Only an elevated setup looks for the desktop's shell.
bool asks_desktop_shell(Elevation setup);

// An elevated setup must not hand its rights to the launcher, which would pass
// them on to every program it starts: it asks the desktop's shell, which runs
// with the person's normal rights, to start it, and starts nothing when there
// is no desktop shell. When the shell runs elevated itself (no split token:
// User Account Control is off) a direct start gives the same rights. A setup
// whose elevation cannot be read starts the launcher itself.
LauncherStart launcher_start(Elevation setup, std::optional<Elevation> desktop_shell);

}  // namespace talvo::setup
