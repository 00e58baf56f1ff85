// The scanned-item rules on arbitrary (display name, parsing name, link
// target) triples, separated by line feeds: no crash, and a kept item always
// carries the key, launch text and icon of its identity.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/catalog/scan_rules.h"
#include "core/text/fold.h"

namespace {

// Resolves every identifier of an even length, so both branches are walked.
class FuzzSystem final : public talvo::SystemQueries {
  public:
    std::optional<std::string> known_folder_path(talvo::KnownFolder) const override {
        return std::nullopt;
    }
    std::optional<std::string> known_folder_path_by_id(std::string_view id) const override {
        if (id.size() % 2 == 0) {
            return std::string("C:\\Known");
        }
        return std::nullopt;
    }
    bool autostart_registered() const override { return false; }
    std::optional<std::string> executable_path() const override { return std::nullopt; }
};

// Reports a path as existing when its length is odd; touches no disk.
class FuzzFiles final : public talvo::FileSystem {
  public:
    std::optional<std::string> read_file(const std::string&) const override { return {}; }
    std::optional<std::uint64_t> file_size(const std::string&) const override { return {}; }
    std::optional<char> last_byte(const std::string&) const override { return {}; }
    bool exists(const std::string& path) const override { return path.size() % 2 == 1; }
    bool create_directories(const std::string&) override { return false; }
    talvo::WriteResult write(const std::string&, std::string_view, talvo::WriteMode) override {
        return {};
    }
    talvo::WriteResult replace_atomically(const std::string&, std::string_view) override {
        return {};
    }
};

std::string_view next_field(std::string_view& bytes) {
    const std::size_t cut = bytes.find('\n');
    const std::string_view field = bytes.substr(0, cut);
    bytes = cut == std::string_view::npos ? std::string_view{} : bytes.substr(cut + 1);
    return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    talvo::ScannedItem item;
    item.name = next_field(bytes);
    item.id = next_field(bytes);
    item.link_target = bytes;

    static const FuzzSystem system;
    static const FuzzFiles files;
    const std::optional<talvo::CatalogEntry> entry = talvo::make_scanned_entry(item, system, files);
    if (!entry) {
        return 0;
    }
    const std::string launch = talvo::apps_folder_path(item.id);
    const auto target = talvo::resolve_target(item, system);
    if (entry->key != "app:" + item.id || entry->icon_source != launch ||
        entry->target != talvo::LaunchTarget::open_path(launch) || entry->name != item.name ||
        talvo::trim_white_space(item.name).empty() || item.id == "Microsoft.Windows.Explorer" ||
        talvo::is_excluded(item.name, target) || (entry->exe_path && entry->exe_path != target) ||
        (target && entry->subtitle != *target)) {
        std::abort();
    }
    return 0;
}
