#include "core/catalog/hidden.h"

#include <algorithm>

#include "core/shell/diagnostic_log.h"
#include "core/text/fold.h"
#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

std::vector<std::string_view> sorted_keys(const HiddenKeys& keys) {
    std::vector<std::string_view> sorted(keys.begin(), keys.end());
    std::sort(sorted.begin(), sorted.end());  // byte order: char_traits compares as unsigned
    return sorted;
}

// The label of a key whose entry left the catalogue: the text after the kind
// prefix, so an uninstalled application still shows its parsing name.
std::string_view key_without_prefix(std::string_view key) {
    const std::size_t colon = key.find(':');
    return colon == std::string_view::npos ? key : key.substr(colon + 1);
}

std::string menu_label(std::string_view key, const Catalog& catalog, const KeyIndex& key_index) {
    const auto found = key_index.find(key);
    if (found != key_index.end() && found->second < catalog.size()) {
        return catalog[found->second].name;
    }
    return std::string(key_without_prefix(key));
}

}  // namespace

std::string hidden_path(const Environment& environment) {
    return join_path(data_folder(environment), "hidden.txt");
}

HiddenKeys parse_hidden(std::string_view text) {
    HiddenKeys keys;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        // One bad line is skipped rather than the whole file, so a later save
        // cannot erase the good keys.
        if (!is_valid_utf8(line)) {
            continue;
        }
        line = trim_white_space(line);
        if (!line.empty()) {
            keys.emplace(line);
        }
    }
    return keys;
}

std::string format_hidden(const HiddenKeys& keys) {
    std::string text;
    for (const std::string_view key : sorted_keys(keys)) {
        text.append(key);
        text.push_back('\n');
    }
    return text;
}

HiddenKeys load_hidden(const Platform& platform) {
    const std::optional<std::string> text =
        platform.files.read_file(hidden_path(platform.environment));
    return text ? parse_hidden(*text) : HiddenKeys{};
}

void save_hidden(const HiddenKeys& keys, const Platform& platform) {
    // A failed save keeps the old file; the set in memory stays right meanwhile.
    platform.files.create_directories(data_folder(platform.environment));
    platform.files.replace_atomically(hidden_path(platform.environment), format_hidden(keys));
}

bool hide_entry(HiddenKeys& keys, std::string_view key, const Platform& platform) {
    if (is_command_key(key)) {
        return false;  // the launcher's own commands stay reachable
    }
    keys.emplace(key);
    save_hidden(keys, platform);
    write_log(platform, "masqué : " + std::string(key));
    return true;
}

void unhide_entry(HiddenKeys& keys, std::string_view key, const Platform& platform) {
    if (const auto found = keys.find(key); found != keys.end()) {
        keys.erase(found);
    }
    save_hidden(keys, platform);
}

void unhide_all(HiddenKeys& keys, const Platform& platform) {
    keys.clear();
    save_hidden(keys, platform);
}

std::vector<HiddenMenuItem> hidden_menu_items(const HiddenKeys& keys, const Catalog& catalog,
                                              const KeyIndex& key_index) {
    struct Sortable {
        std::string order;  // lower-cased label
        HiddenMenuItem item;
    };
    std::vector<Sortable> rows;
    rows.reserve(keys.size());
    for (const std::string_view key : sorted_keys(keys)) {
        std::string label = menu_label(key, catalog, key_index);
        std::string order = to_lower(label);
        rows.push_back({std::move(order), {std::string(key), std::move(label)}});
    }
    // Keys come in byte order, so equal labels list the same way every time.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Sortable& a, const Sortable& b) { return a.order < b.order; });
    std::vector<HiddenMenuItem> items;
    items.reserve(rows.size());
    for (Sortable& row : rows) {
        items.push_back(std::move(row.item));
    }
    return items;
}

}  // namespace talvo
