#include "setup/core/paths.h"

#include <vector>

#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo::setup {
namespace {

constexpr std::string_view kLongPathPrefix = "\\\\?\\";
constexpr std::string_view kLongUncPrefix = "\\\\?\\UNC\\";

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// Upper case one character at a time, keeping characters whose upper case is
// longer than one character: a file name's case is folded unit by unit.
std::u32string upper_case_component(std::string_view component) {
    std::u32string folded;
    std::u32string mapped;
    for (std::size_t pos = 0; pos < component.size();) {
        const char32_t c = decode_utf8(component, pos);
        mapped.clear();
        append_upper(mapped, c);
        folded += mapped.size() == 1 ? mapped[0] : c;
    }
    return folded;
}

// A path as comparable parts: "\\" or "\" for a leading separator run (UNC or
// rooted), then each non-empty component in upper case.
std::vector<std::u32string> path_parts(std::string_view path) {
    std::string unc;
    if (path.starts_with(kLongUncPrefix)) {
        unc = "\\\\" + std::string(path.substr(kLongUncPrefix.size()));
        path = unc;
    } else if (path.starts_with(kLongPathPrefix)) {
        path.remove_prefix(kLongPathPrefix.size());
    }
    std::vector<std::u32string> parts;
    std::size_t leading = 0;
    while (leading < path.size() && is_separator(path[leading])) {
        ++leading;
    }
    if (leading > 0) {
        parts.push_back(leading == 1 ? U"\\" : U"\\\\");
    }
    std::size_t start = leading;
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !is_separator(path[end])) {
            ++end;
        }
        if (end > start) {
            parts.push_back(upper_case_component(path.substr(start, end - start)));
        }
        start = end + 1;
    }
    return parts;
}

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string join_path(std::string_view folder, std::string_view component) {
    std::string path(folder);
    path += '\\';
    path += component;
    return path;
}

InstallPaths install_paths(std::string_view local_app_data) {
    InstallPaths paths;
    paths.folder = join_path(join_path(local_app_data, "Programs"), "Talvo");
    paths.launcher = join_path(paths.folder, kLauncherImageName);
    paths.uninstaller = join_path(paths.folder, "uninstall.exe");
    return paths;
}

std::string shortcut_path_in(std::string_view app_data) {
    return join_path(app_data, "Microsoft\\Windows\\Start Menu\\Programs\\Talvo.lnk");
}

std::string data_folder_in(std::string_view app_data) {
    return join_path(app_data, "Talvo");
}

std::string zone_identifier_stream(std::string_view file) {
    return std::string(file) + ":Zone.Identifier";
}

bool same_path(std::string_view a, std::string_view b) {
    return path_parts(a) == path_parts(b);
}

bool is_launcher_image_name(std::string_view image_name) {
    if (image_name.size() != kLauncherImageName.size()) {
        return false;
    }
    for (std::size_t i = 0; i < image_name.size(); ++i) {
        if (ascii_lower(image_name[i]) != kLauncherImageName[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace talvo::setup
