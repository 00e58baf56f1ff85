// The launchable entries: their identity (key), what is shown, the fields that
// matching reads, and what launching does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text_map.h"

namespace talvo {

enum class BuiltinCommand : std::uint8_t {
    Quit = 0,
    Autostart = 1,
    Stats = 2,
    WindowMenu = 3,
};

// What launching an entry does: hand a text to the shell, or run one of the
// launcher's own commands.
struct LaunchTarget {
    enum class Kind : std::uint8_t { Path, Command };

    Kind kind = Kind::Path;
    std::string path;                               // Kind::Path only
    BuiltinCommand command = BuiltinCommand::Quit;  // Kind::Command only

    static LaunchTarget open_path(std::string text) { return {Kind::Path, std::move(text), {}}; }
    static LaunchTarget run_command(BuiltinCommand c) { return {Kind::Command, {}, c}; }

    bool operator==(const LaunchTarget&) const = default;
};

// Key prefixes: scanned applications, Explorer and folders, launcher commands.
inline constexpr std::string_view kAppKeyPrefix = "app:";
inline constexpr std::string_view kDirKeyPrefix = "dir:";
inline constexpr std::string_view kCmdKeyPrefix = "cmd:";

struct CatalogEntry {
    std::string key;
    std::size_t key_text_hash = 0;  // TextHash of key: learned-table lookups skip hashing it
    std::string name;
    std::string subtitle;
    std::string match_name;            // fold(name)
    std::vector<std::string> words;    // folded words of name
    std::string initials;              // first character of each word
    std::vector<std::string> aliases;  // folded; built-in entries only
    // The folded file name of a scanned program's target without its
    // extension ("cmd" for ...\cmd.exe), when it says more than the name.
    std::optional<std::string> file_stem;
    // Which bytes match_name, the aliases and the file stem hold (byte_mask):
    // an entry whose mask lacks a byte of the query cannot match it by any rung.
    std::uint64_t byte_mask = 0;
    // The first byte of each word (byte_mask): the word and initials rungs need
    // the first byte of every query word among them.
    std::uint64_t word_start_mask = 0;
    std::optional<std::string> exe_path;
    std::optional<std::string> icon_source;
    LaunchTarget target;

    bool operator==(const CatalogEntry&) const = default;
};

using Catalog = std::vector<CatalogEntry>;

// Position of each key in the catalogue; a later duplicate key wins.
using KeyIndex = TextMap<std::size_t>;

// The one constructor of entries: derives match_name, words and initials.
CatalogEntry make_entry(std::string key, std::string name, std::string subtitle,
                        LaunchTarget target);

// Replaces the aliases with the folded texts, in order.
CatalogEntry with_aliases(CatalogEntry entry, const std::vector<std::string_view>& aliases);

// The file stem of a program found at `target_path`: its file name without a
// final ".exe", ".msc" or ".cpl" (any case), folded; nothing for another
// extension, an empty stem, or one that is the folded name or one of its words.
std::optional<std::string> file_stem_of(std::string_view target_path, const CatalogEntry& entry);

// Gives the entry the file stem of its target, if it has one.
CatalogEntry with_file_stem(CatalogEntry entry, std::string_view target_path);

// The folded words of a display name (split at non-alphanumerics and at a
// lower-case letter or digit followed by an upper-case letter).
std::vector<std::string> name_words(std::string_view name);

KeyIndex build_key_index(const Catalog& catalog);

bool is_command_key(std::string_view key);

// A fresh built-in list followed by every current entry that is neither a
// folder nor a command, in the current order.
Catalog replace_builtins(Catalog builtins, const Catalog& current);

}  // namespace talvo
