#include "setup/core/launcher_processes.h"

#include "setup/core/paths.h"

namespace talvo::setup {

bool is_launcher_to_stop(std::string_view image_name, bool owns_launcher_window,
                         std::optional<std::uint32_t> session,
                         std::optional<std::uint32_t> own_session) {
    if (!is_launcher_image_name(image_name)) {
        return false;
    }
    return owns_launcher_window || (session && own_session && *session == *own_session);
}

bool asks_desktop_shell(Elevation setup) {
    return setup == Elevation::Full;
}

LauncherStart launcher_start(Elevation setup, std::optional<Elevation> desktop_shell) {
    if (!asks_desktop_shell(setup)) {
        return LauncherStart::Direct;
    }
    if (!desktop_shell) {
        return LauncherStart::NotStarted;
    }
    return *desktop_shell == Elevation::Full ? LauncherStart::Direct
                                             : LauncherStart::ThroughDesktopShell;
}

}  // namespace talvo::setup
