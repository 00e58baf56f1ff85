// The keystroke path over the match index ranks exactly as the plain ladder
// does: every entry scored on its own, the bonus read from the memory's
// tables, a stable sort, the first rows kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/matching/index_scan.h"
#include "core/matching/index_scan_loop.h"
#include "core/text/byte_mask.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {

void PrintTo(const ScoredEntry& pair, std::ostream* out) {
    *out << "{" << pair.score << ", " << pair.index << "}";
}

namespace {

constexpr std::int64_t kNow = 1'780'000'000;

// Pieces of names: accents, capitals inside words, other scripts, a letter
// whose folding is longer than itself (İ), separators and digits.
constexpr const char* kPieces[] = {
    "Visual", "Studio", "Code",   "Écran",    "OneDrive", "Vidéos",     "VLC",  "vis",
    "Привет", "日本語", "Œuvre",  "İstanbul", "Straße",   "x64",        "2024", "HTMLEditor",
    "a",      "Vi",     "vIsUaL", "Café",     "µTorrent", "C:\\Outils", "7Zip", "Win10Pro"};
constexpr const char* kSeparators[] = {" ", " ", " ", "-", ".", "\\", " (", ") ", ""};

std::string random_name(std::mt19937& random) {
    std::uniform_int_distribution<int> pieces(0, 4);
    std::string name;
    for (int n = pieces(random); n >= 0; --n) {
        name += kPieces[random() % std::size(kPieces)];
        name += kSeparators[random() % std::size(kSeparators)];
    }
    return name;
}

// A catalogue with aliases, equal names, a repeated key, a name too long for
// the index's 16-bit rows, an empty name, one without words, and an entry
// whose words are not pieces of its name.
Catalog random_catalog(std::mt19937& random) {
    Catalog catalog;
    for (int i = 0; i < 120; ++i) {
        const std::string name = random_name(random);
        CatalogEntry entry =
            make_entry("app:" + std::to_string(i % 110), name, "", LaunchTarget::open_path(name));
        if (i % 7 == 0) {
            entry = with_aliases(std::move(entry), {kPieces[random() % std::size(kPieces)], "vi"});
        }
        if (i % 5 == 0) {  // a stem, often equal to a query below
            entry = with_file_stem(std::move(entry), std::string("C:\\Outils\\") +
                                                         kPieces[random() % std::size(kPieces)] +
                                                         (i % 10 == 0 ? ".exe" : ".MSC"));
        }
        catalog.push_back(std::move(entry));
    }
    catalog.push_back(catalog[5]);  // the same name and key again
    std::string huge = "Visual " + std::string(70'000, 'x') + " vis";
    catalog.push_back(make_entry("app:huge", huge, "", LaunchTarget::open_path("huge")));
    catalog.push_back(make_entry("app:empty", "", "", LaunchTarget::open_path("empty")));
    catalog.push_back(make_entry("app:dashes", " - ", "", LaunchTarget::open_path("dashes")));
    CatalogEntry odd = make_entry("app:odd", "Zeta", "", LaunchTarget::open_path("odd"));
    odd.words = {"vista", "zeta"};
    odd.initials = "vz";
    odd.byte_mask |= byte_mask("vista");
    odd.word_start_mask |= byte_mask("v");
    catalog.push_back(std::move(odd));
    std::shuffle(catalog.begin(), catalog.end(), random);
    return catalog;
}

// Launches of catalogue keys (and of one no longer there) after prefixes of
// their names, over the last 90 days.
LearningMemory random_memory(const Catalog& catalog, std::mt19937& random) {
    LearningMemory memory;
    for (int n = 0; n < 300; ++n) {
        const CatalogEntry& entry = catalog[random() % 30];
        const std::size_t typed = random() % 5;
        LaunchRecord record{n % 50 == 0 ? "app:gone" : entry.key,
                            entry.match_name.substr(0, std::min(typed, entry.match_name.size())),
                            static_cast<std::uint64_t>(kNow - random() % (90 * 86400)),
                            static_cast<std::uint32_t>(random() % 24),
                            static_cast<std::uint32_t>(random() % 2)};
        if (!is_valid_utf8(record.query)) {
            record.query.clear();
        }
        memory.records.push_back(std::move(record));
    }
    rebuild(memory, kNow);
    return memory;
}

std::vector<std::string> random_queries(const Catalog& catalog, std::mt19937& random) {
    std::vector<std::string> queries = {"v",   "vi",   "vis cod", "VLC",    "écr",  "vs code",
                                        "zz",  "пр",   "日",      "vista",  "a",    "x",
                                        "vis", "code", "x64",     "straße", "7zip", "studio"};
    for (int n = 0; n < 12; ++n) {
        const std::string& name = catalog[random() % catalog.size()].name;
        const std::string prefix = prepare_query(name.substr(0, 1 + random() % 8));
        if (!prefix.empty() && is_valid_utf8(prefix)) {
            queries.push_back(prefix);
        }
    }
    return queries;
}

// The plain ranking, entry by entry, as the result list is defined.
std::vector<ScoredEntry> plain_pairs(const Catalog& catalog, const HiddenKeys& hidden,
                                     const std::string& query, ClockSlot clock,
                                     const LearningMemory& memory) {
    const QueryParts parts = split_query(query);
    std::vector<ScoredEntry> pairs;
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const CatalogEntry& entry = catalog[i];
        const std::optional<float> base = base_score(entry, parts);
        if (base && !hidden.contains(entry.key)) {
            const float bonus = learned_bonus(memory, entry.key, query, clock);
            pairs.push_back({*base + bonus, static_cast<std::uint32_t>(i)});
        }
    }
    return pairs;
}

std::vector<ScoredEntry> plain_best(std::vector<ScoredEntry> pairs, const Catalog& catalog,
                                    std::size_t keep) {
    std::stable_sort(pairs.begin(), pairs.end(), [&](const ScoredEntry& a, const ScoredEntry& b) {
        if (total_order_key(a.score) != total_order_key(b.score)) {
            return total_order_key(a.score) > total_order_key(b.score);
        }
        return catalog[a.index].name.size() < catalog[b.index].name.size();
    });
    pairs.resize(std::min(pairs.size(), keep));
    return pairs;
}

TEST(IndexScan, RanksAsThePlainLadderOnRandomCataloguesAndQueries) {
    for (std::uint32_t seed = 1; seed <= 25; ++seed) {
        std::mt19937 random(seed);
        const Catalog catalog = random_catalog(random);
        HiddenKeys hidden{"app:nowhere"};
        for (int n = 0; n < 6; ++n) {
            hidden.insert(catalog[random() % catalog.size()].key);
        }
        const MatchIndex index(catalog, hidden);
        // The same tables read through rebuild's launched keys, and key by key.
        const LearningMemory rebuilt = random_memory(catalog, random);
        LearningMemory by_tables_memory = rebuilt;
        by_tables_memory.launched = LaunchedKeys();
        const LearningMemory& by_tables = by_tables_memory;
        const ClockSlot clock{static_cast<unsigned>(random() % 24),
                              static_cast<unsigned>(random() % 2)};
        for (const std::string& query : random_queries(catalog, random)) {
            for (const LearningMemory* memory : {&rebuilt, &by_tables}) {
                const auto plain = plain_pairs(catalog, hidden, query, clock, *memory);
                std::vector<ScoredEntry> pairs;
                match_entries(index, catalog, query, clock, *memory, pairs);
                ASSERT_EQ(pairs, plain) << "seed " << seed << " query " << query;
                for (const std::size_t keep : {0, 1, 6, 9}) {
                    best_matches(index, catalog, query, clock, *memory, pairs, keep);
                    ASSERT_EQ(pairs, plain_best(plain, catalog, std::min<std::size_t>(keep, 6)))
                        << "seed " << seed << " query " << query << " keep " << keep;
                }
            }
        }
    }
}

std::vector<std::string> best_names(const Catalog& catalog, const std::string& query,
                                    std::size_t keep) {
    std::vector<ScoredEntry> pairs;
    best_matches(MatchIndex(catalog, {}), catalog, query, {9, 0}, LearningMemory{}, pairs, keep);
    std::vector<std::string> names;
    for (const ScoredEntry& pair : pairs) {
        names.push_back(catalog[pair.index].name);
    }
    return names;
}

// The index holds its rows in blocks of 64: an entry in the last row of a
// block, full or not, is found.
TEST(IndexScan, TheLastRowOfEachBlockIsScanned) {
    for (const std::size_t rows : {1, 63, 64, 65, 127, 128, 129}) {
        Catalog catalog;
        for (std::size_t i = 0; i + 1 < rows; ++i) {
            catalog.push_back(make_entry("app:f" + std::to_string(i), "Filler " + std::to_string(i),
                                         "", LaunchTarget::open_path("f")));
        }
        catalog.push_back(make_entry("app:t", "Target", "", LaunchTarget::open_path("t")));
        EXPECT_EQ(best_names(catalog, "target", 6), std::vector<std::string>{"Target"})
            << rows << " rows";
    }
}

// With the kept rows full of good name prefixes, an entry found only by an
// alias or by its whole name, late in the catalogue, still takes its place.
TEST(IndexScan, TheCeilingNeverPassesOverAnAliasOrAnEqualName) {
    Catalog catalog;
    for (const char* filler : {"vlc a", "vlc b", "vlc c", "vlc d", "vlc e", "vlc f", "vlc g"}) {
        catalog.push_back(
            make_entry(std::string("app:") + filler, filler, "", LaunchTarget::open_path(filler)));
    }
    catalog.push_back(with_aliases(
        make_entry("app:one", "Lecteur", "", LaunchTarget::open_path("one")), {"vlc"}));
    catalog.push_back(with_aliases(
        make_entry("app:several", "Autre lecteur", "", LaunchTarget::open_path("several")),
        {"lecteur", "media", "vlc"}));
    catalog.push_back(make_entry("app:equal", "VLC", "", LaunchTarget::open_path("equal")));
    const std::vector<std::string> names = best_names(catalog, "vlc", 6);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"Lecteur", "Autre lecteur", "VLC"}))
        << "alias equal 100, alias equal 100, name equal 98, before every name prefix";
}

// The best base still possible from each rung on, written out by hand.
TEST(RungTable, TheBestBaseLeftFromEachRung) {
    using scoring::Rung;
    const struct {
        Rung from;
        bool aliases;
        bool one_word;
        float best;
        bool stem = false;
    } cases[] = {
        {Rung::NameEqual, false, true, 98, true},
        {Rung::FileStemEqual, false, true, 97, true},
        {Rung::FileStemEqual, false, true, 90, false},
        {Rung::FileStemEqual, true, false, 97, true},
        {Rung::NamePrefix, false, true, 90, true},
        {Rung::AliasEqual, true, true, 100},
        {Rung::AliasEqual, false, true, 98},
        {Rung::NameEqual, true, false, 98},
        {Rung::NamePrefix, false, true, 90},
        {Rung::AliasPrefix, true, true, 86},
        {Rung::AliasPrefix, false, true, 78},
        {Rung::AliasPrefix, false, false, 76},
        {Rung::AllWordsPrefix, true, true, 78},
        {Rung::AllWordsPrefix, true, false, 76},
        {Rung::WordPrefix, false, false, 72},
        {Rung::InitialsPrefix, true, true, 72},
        {Rung::Substring, false, true, 55},
        {Rung::Subsequence, false, true, 45},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scoring::best_from(c.from, {c.aliases, c.one_word, c.stem}), c.best)
            << static_cast<int>(c.from) << (c.aliases ? " aliases" : "") << (c.stem ? " stem" : "")
            << (c.one_word ? " one word" : " words");
    }
}

// The ceiling the scan passes rows over on never lies below the score the
// ladder then gives: a row is never passed over that could have been kept.
TEST(RungTable, TheScanCeilingIsNeverBelowTheLaddersScore) {
    for (std::uint32_t seed = 1; seed <= 25; ++seed) {
        std::mt19937 random(seed);
        const Catalog catalog = random_catalog(random);
        const MatchIndex index(catalog, {});
        for (const std::string& query : random_queries(catalog, random)) {
            const QueryParts parts = split_query(query);
            const index_scan::Ceiling ceiling(parts);
            for (std::size_t i = 0; i < index.size(); ++i) {
                const MatchIndex::Row& row = index.row(i);
                if (row.is_long()) {
                    continue;  // always scored from its entry
                }
                if (const std::optional<float> base = base_score(catalog[row.entry], parts)) {
                    ASSERT_GE(ceiling.of(row), *base) << "seed " << seed << " query " << query
                                                      << " entry " << catalog[row.entry].name;
                }
            }
        }
    }
}

// These two keys' hashes share their high halves, which the launched-key table
// and the index rows compare first: only the launched one gets a bonus.
TEST(IndexScan, AKeySharingAHashHalfWithALaunchedKeyGetsNoBonus) {
    const Catalog catalog = {
        make_entry("app:Tool 716223", "Tool 716223", "", LaunchTarget::open_path("a")),
        make_entry("app:Tool 1000330", "Tool 1000330", "", LaunchTarget::open_path("b"))};
    LearningMemory memory;
    memory.records = {{"app:Tool 716223", "tool", kNow, 9, 0}};
    rebuild(memory, kNow);
    std::vector<ScoredEntry> pairs;
    match_entries(MatchIndex(catalog, {}), catalog, "tool", {9, 0}, memory, pairs);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_GT(pairs[0].score, 89.3f + 30.0f);  // always chosen after "tool": a share of 35
    EXPECT_EQ(pairs[1].score, 90.0f - 0.1f * 8.0f);
}

}  // namespace
}  // namespace talvo
