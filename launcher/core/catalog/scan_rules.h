// How one item of the Windows Applications folder becomes a catalogue entry:
// target resolution, exclusions, subtitle, key. Shared by the scan thread and
// the developer tools, which feed recorded items.
#pragma once

#include <optional>
#include <string>

#include "core/catalog/catalog.h"
#include "core/shell/platform.h"

namespace talvo {

// What the shell tells about an item, converted to UTF-8 (invalid text empty).
struct ScannedItem {
    std::string name;         // normal display name
    std::string id;           // parsing name relative to the Applications folder
    std::string link_target;  // the link's target parsing path; empty when none
};

// The launch text of an item: "shell:AppsFolder\" + id.
std::string apps_folder_path(std::string_view id);

// The item's file-system target: the link target, a known-folder path
// ("{id}\rest"), or the id itself when it is a drive path; nothing otherwise.
std::optional<std::string> resolve_target(const ScannedItem& item, const SystemQueries& system);

// Uninstallers are left out, by name or by target.
bool is_excluded(std::string_view name, const std::optional<std::string>& target);

std::string scanned_subtitle(std::string_view id, const std::optional<std::string>& target);

// The entry, or nothing when the item is skipped (Explorer itself, a blank
// name, an uninstaller).
std::optional<CatalogEntry> make_scanned_entry(const ScannedItem& item, const SystemQueries& system,
                                               const FileSystem& files);

}  // namespace talvo
