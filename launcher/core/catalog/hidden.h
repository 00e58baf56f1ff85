// Entries the user has hidden from the results, remembered by key in
// %APPDATA%\Talvo\hidden.txt (one key a line, sorted by bytes).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/shell/platform.h"
#include "core/text/text_map.h"

namespace talvo {

std::string hidden_path(const Environment& environment);

// Keys of a hidden.txt text: lines trimmed of white space, blank lines and
// lines that are not valid UTF-8 skipped.
HiddenKeys parse_hidden(std::string_view text);

// The file text: keys in ascending byte order, each followed by a line feed.
std::string format_hidden(const HiddenKeys& keys);

HiddenKeys load_hidden(const Platform& platform);

// Creates the data folder and replaces the file atomically; failures ignored.
void save_hidden(const HiddenKeys& keys, const Platform& platform);

// Hides an entry: saves and logs "masqué : {k}". Returns false, changing
// nothing, for a launcher command ("cmd:" key), which cannot be hidden.
bool hide_entry(HiddenKeys& keys, std::string_view key, const Platform& platform);

// Shows one entry again; the file is rewritten even when the key was not hidden.
void unhide_entry(HiddenKeys& keys, std::string_view key, const Platform& platform);

void unhide_all(HiddenKeys& keys, const Platform& platform);

struct HiddenMenuItem {
    std::string key;
    std::string label;

    bool operator==(const HiddenMenuItem&) const = default;
};

// One item per hidden key: the entry's name, or the key after its first ':'
// when the entry left the catalogue; sorted by lower-cased label.
std::vector<HiddenMenuItem> hidden_menu_items(const HiddenKeys& keys, const Catalog& catalog,
                                              const KeyIndex& key_index);

}  // namespace talvo
