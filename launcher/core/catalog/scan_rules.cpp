#include "core/catalog/scan_rules.h"

#include "core/text/fold.h"

namespace talvo {
namespace {

// The built-in Explorer entry stands for this item.
constexpr std::string_view kExplorerId = "Microsoft.Windows.Explorer";
constexpr std::string_view kAppsFolderPrefix = "shell:AppsFolder\\";

std::string ascii_lower(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

// "{known-folder id}\Vendor\Tool.exe": the folder's path followed by the rest.
std::optional<std::string> known_folder_target(std::string_view id, const SystemQueries& system) {
    if (!id.starts_with('{')) {
        return std::nullopt;
    }
    const std::size_t close = id.find('}');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<std::string> folder = system.known_folder_path_by_id(id.substr(0, close + 1));
    if (!folder) {
        return std::nullopt;
    }
    folder->append(id.substr(close + 1));
    return folder;
}

// "C:\..." and the like: the parsing name is already a file-system path.
bool is_drive_path(std::string_view id) {
    return id.size() > 2 && id[1] == ':';
}

}  // namespace

std::string apps_folder_path(std::string_view id) {
    std::string path(kAppsFolderPrefix);
    path.append(id);
    return path;
}

std::optional<std::string> resolve_target(const ScannedItem& item, const SystemQueries& system) {
    if (!item.link_target.empty()) {
        return item.link_target;
    }
    if (std::optional<std::string> target = known_folder_target(item.id, system);
        target && !target->empty()) {
        return target;
    }
    if (is_drive_path(item.id)) {
        return item.id;
    }
    return std::nullopt;
}

bool is_excluded(std::string_view name, const std::optional<std::string>& target) {
    const std::string folded = fold(name);
    if (folded.starts_with("uninstall") || folded.starts_with("desinstall")) {
        return true;
    }
    if (!target) {
        return false;
    }
    const std::string lowered = ascii_lower(*target);
    return lowered.find("unins0") != std::string::npos || lowered.ends_with("uninstall.exe");
}

std::string scanned_subtitle(std::string_view id, const std::optional<std::string>& target) {
    if (target) {
        return *target;
    }
    if (id.starts_with("http")) {
        return std::string(id);
    }
    // A Store application's identity: package family name, "!", application id.
    if (id.find('!') != std::string_view::npos) {
        return "Application Microsoft Store";
    }
    return std::string(id);
}

std::optional<CatalogEntry> make_scanned_entry(const ScannedItem& item, const SystemQueries& system,
                                               const FileSystem& files) {
    if (item.id == kExplorerId || trim_white_space(item.name).empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> target = resolve_target(item, system);
    if (is_excluded(item.name, target)) {
        return std::nullopt;
    }
    std::string launch = apps_folder_path(item.id);
    CatalogEntry entry =
        make_entry(std::string(kAppKeyPrefix) + item.id, item.name,
                   scanned_subtitle(item.id, target), LaunchTarget::open_path(launch));
    entry.icon_source = std::move(launch);
    if (target) {
        entry = with_file_stem(std::move(entry), *target);
    }
    // The path is shown whether or not it exists; only a real file or folder
    // is used to find an open window or to show the file in Explorer.
    if (target && files.exists(*target)) {
        entry.exe_path = target;
    }
    return entry;
}

}  // namespace talvo
