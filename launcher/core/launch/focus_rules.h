// Which already-open window belongs to an entry. The rules live here; the
// system only answers questions about one window at a time (WindowQueries),
// asked lazily and in order, so a window that matches by its application id
// is never opened as a process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"

namespace talvo {

using WindowHandle = std::uintptr_t;

// A folder window of the shell: its window and the location it shows, as the
// shell reports it (a URL such as "file:///C:/Users/me/Downloads").
struct ShellFolderWindow {
    WindowHandle window = 0;
    std::string location;
};

// The questions the rules ask the system. A window that has gone away (or a
// call that fails) answers empty or nothing; the search goes on.
class WindowQueries {
  public:
    virtual ~WindowQueries() = default;
    // Top-level windows a user could switch to, top of the Z-order first.
    virtual std::vector<WindowHandle> switchable_windows() = 0;
    virtual std::string class_name(WindowHandle window) = 0;
    virtual std::string title(WindowHandle window) = 0;
    virtual std::optional<std::string> app_id(WindowHandle window) = 0;
    virtual std::optional<std::string> package_family(WindowHandle window) = 0;
    virtual std::optional<std::string> process_path(WindowHandle window) = 0;
    // Asked only for folder entries.
    virtual std::vector<ShellFolderWindow> shell_folder_windows() = 0;
};

// Explorer's window class.
inline constexpr std::string_view kExplorerWindowClass = "CabinetWClass";

// An open window of the entry, or nothing: any Explorer window for
// "dir:explorer"; an Explorer window showing exactly the folder, titled like
// the entry, for a folder; for an application, a window with its id, its
// package or (unless it runs through a generic host) its executable.
std::optional<WindowHandle> find_open_window(const CatalogEntry& entry, WindowQueries& system);

// The folder a "file:///" location shows: percent escapes decoded, "/" turned
// into "\", invalid UTF-8 replaced, trailing backslashes removed, lower case.
// Nothing for any other kind of location.
std::optional<std::string> folder_of_location(std::string_view location);

// A path for comparison: trailing backslashes removed, Unicode lower case.
std::string comparable_path(std::string_view path);

// The executable an application entry is recognised by, or nothing when it
// has none or runs through a generic host (rundll32.exe, javaw.exe, ...).
std::optional<std::string> executable_to_compare(const std::optional<std::string>& exe_path);

// The package family of a Store application id: the text before the first "!".
std::optional<std::string> package_family_of(std::string_view app_id);

}  // namespace talvo
