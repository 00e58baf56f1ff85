// Where the setup puts things, and how two Windows paths are compared.
#pragma once

#include <string>
#include <string_view>

namespace talvo::setup {

// The image name that marks a running launcher, whatever its folder.
inline constexpr std::string_view kLauncherImageName = "talvo.exe";

struct InstallPaths {
    std::string folder;       // LOCALAPPDATA\Programs\Talvo
    std::string launcher;     // folder\talvo.exe
    std::string uninstaller;  // folder\uninstall.exe
};

// `folder` + "\" + `component`; the component may itself hold backslashes.
std::string join_path(std::string_view folder, std::string_view component);

InstallPaths install_paths(std::string_view local_app_data);
std::string shortcut_path_in(std::string_view app_data);
// The launcher's own data folder (history, hidden list, log).
std::string data_folder_in(std::string_view app_data);

// The alternate data stream in which Windows marks a downloaded file as coming
// from the Internet (the Mark of the Web). A copy of the downloaded setup
// carries it too, and the uninstaller would then start with a warning.
std::string zone_identifier_stream(std::string_view file);

// Whether two absolute Windows paths name the same file: compared component by
// component, as the file system does, without regard to case; "/" and repeated
// separators count as one "\", and a "\\?\" prefix is ignored.
bool same_path(std::string_view a, std::string_view b);

// A process image name (no folder) compared with "talvo.exe", ignoring the case
// of ASCII letters only.
bool is_launcher_image_name(std::string_view image_name);

}  // namespace talvo::setup
