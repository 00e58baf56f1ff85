#include "core/launch/focus_rules.h"

#include <array>

#include "core/launch/launch_rules.h"
#include "core/text/fold.h"
#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

constexpr std::string_view kExplorerKey = "dir:explorer";
constexpr std::string_view kFileLocationPrefix = "file:///";

// Programs that run other programs' code: their path says nothing about
// which application a window belongs to.
constexpr std::array<std::string_view, 16> kGenericHosts = {
    "mmc.exe",     "rundll32.exe", "explorer.exe", "cmd.exe",   "powershell.exe", "pwsh.exe",
    "wscript.exe", "cscript.exe",  "msiexec.exe",  "java.exe",  "javaw.exe",      "python.exe",
    "pythonw.exe", "dllhost.exe",  "control.exe",  "update.exe"};

std::string_view without_trailing_backslashes(std::string_view path) {
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "%41" becomes "A"; a "%" without two hexadecimal digits after it stays.
std::string decode_percent_escapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? hex_value(text[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(text[i + 2]) : -1;
        if (low >= 0) {
            out.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Every "/" of a location, decoded ones included, becomes "\".
std::string with_backslashes(std::string text) {
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

// The bytes read as UTF-8, each invalid byte becoming U+FFFD.
std::string valid_utf8(std::string_view bytes) {
    if (is_valid_utf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        append_utf8(out, decode_utf8(bytes, pos));
    }
    return out;
}

std::optional<WindowHandle> first_explorer_window(const std::vector<WindowHandle>& windows,
                                                  WindowQueries& system) {
    for (const WindowHandle window : windows) {
        if (system.class_name(window) == kExplorerWindowClass) {
            return window;
        }
    }
    return std::nullopt;
}

bool shows_folder(const std::vector<ShellFolderWindow>& records, WindowHandle window,
                  std::string_view folder) {
    for (const ShellFolderWindow& record : records) {
        if (record.window == window && folder_of_location(record.location) == folder) {
            return true;
        }
    }
    return false;
}

std::optional<WindowHandle> folder_window(const CatalogEntry& entry,
                                          const std::vector<WindowHandle>& windows,
                                          WindowQueries& system) {
    if (!entry.exe_path) {
        return std::nullopt;
    }
    const std::string folder = comparable_path(*entry.exe_path);
    const std::vector<ShellFolderWindow> records = system.shell_folder_windows();
    const std::string name = fold(entry.name);
    for (const WindowHandle window : windows) {
        if (system.class_name(window) != kExplorerWindowClass ||
            !shows_folder(records, window, folder)) {
            continue;
        }
        // The folder alone is not enough: the title must still read as the entry.
        if (fold(system.title(window)).starts_with(name)) {
            return window;
        }
    }
    return std::nullopt;
}

bool belongs_to_application(WindowHandle window, std::string_view id,
                            const std::optional<std::string>& family,
                            const std::optional<std::string>& executable, WindowQueries& system) {
    if (const std::optional<std::string> window_id = system.app_id(window);
        window_id && equals_ignoring_ascii_case(*window_id, id)) {
        return true;
    }
    if (family) {
        if (const std::optional<std::string> window_family = system.package_family(window);
            window_family && equals_ignoring_ascii_case(*window_family, *family)) {
            return true;
        }
    }
    if (executable) {
        if (const std::optional<std::string> path = system.process_path(window);
            path && comparable_path(*path) == *executable) {
            return true;
        }
    }
    return false;
}

std::optional<WindowHandle> application_window(const CatalogEntry& entry,
                                               const std::vector<WindowHandle>& windows,
                                               WindowQueries& system) {
    const std::string_view id = std::string_view(entry.key).substr(kAppKeyPrefix.size());
    const std::optional<std::string> executable = executable_to_compare(entry.exe_path);
    const std::optional<std::string> family = package_family_of(id);
    for (const WindowHandle window : windows) {
        if (belongs_to_application(window, id, family, executable, system)) {
            return window;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string comparable_path(std::string_view path) {
    return to_lower(without_trailing_backslashes(path));
}

std::optional<std::string> folder_of_location(std::string_view location) {
    if (!location.starts_with(kFileLocationPrefix)) {
        return std::nullopt;
    }
    const std::string decoded = valid_utf8(
        with_backslashes(decode_percent_escapes(location.substr(kFileLocationPrefix.size()))));
    return comparable_path(decoded);
}

std::optional<std::string> executable_to_compare(const std::optional<std::string>& exe_path) {
    if (!exe_path) {
        return std::nullopt;
    }
    const std::string lower = to_lower(*exe_path);
    if (!lower.ends_with(".exe")) {
        return std::nullopt;
    }
    const std::size_t slash = lower.rfind('\\');
    const std::string_view file = slash == std::string::npos
                                      ? std::string_view(lower)
                                      : std::string_view(lower).substr(slash + 1);
    for (const std::string_view host : kGenericHosts) {
        if (file == host) {
            return std::nullopt;
        }
    }
    return comparable_path(*exe_path);
}

std::optional<std::string> package_family_of(std::string_view app_id) {
    const std::size_t bang = app_id.find('!');
    if (bang == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(app_id.substr(0, bang));
}

std::optional<WindowHandle> find_open_window(const CatalogEntry& entry, WindowQueries& system) {
    const std::string_view key = entry.key;
    const bool folder = key.starts_with(kDirKeyPrefix);
    const bool application = key.starts_with(kAppKeyPrefix);
    if (!folder && !application) {
        return std::nullopt;  // the launcher's commands have no window
    }
    const std::vector<WindowHandle> windows = system.switchable_windows();
    if (key == kExplorerKey) {
        return first_explorer_window(windows, system);
    }
    return folder ? folder_window(entry, windows, system)
                  : application_window(entry, windows, system);
}

}  // namespace talvo
