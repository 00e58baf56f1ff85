// The match ladder, the learned bonus and the context score.
#include <gtest/gtest.h>

#include <cmath>

#include "core/matching/brain.h"
#include "core/text/fold.h"

namespace talvo {
namespace {

CatalogEntry app(const std::string& name, std::vector<std::string_view> aliases = {}) {
    return with_aliases(make_entry("app:" + name, name, "", LaunchTarget::open_path(name)),
                        aliases);
}

const LearningMemory kNoMemory;
const HiddenKeys kNoneHidden;
constexpr ClockSlot kNoon{12, 0};

// Score of the single entry for a raw query, or nothing when it does not match.
std::optional<float> score_of(const CatalogEntry& entry, std::string_view raw_query,
                              const LearningMemory& memory = kNoMemory, ClockSlot clock = kNoon) {
    const Catalog catalog{entry};
    const std::string query = prepare_query(raw_query);
    const auto pairs = match_entries(catalog, kNoneHidden, query, clock, memory);
    if (pairs.empty()) {
        return std::nullopt;
    }
    return pairs.front().score;
}

struct RungCase {
    const char* name;
    std::vector<std::string_view> aliases;
    const char* query;
    float score;
};

constexpr char kNinetyX[] =
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";

TEST(MatchLadder, EachRungGivesItsBaseScore) {
    const RungCase cases[] = {
        {"Explorateur de fichiers", {"f", "explorer"}, "explorer", 100.0f},  // alias equal
        {"Écran", {}, "écran", 98.0f},                                       // name equal
        {"Écran", {}, "Ecran", 98.0f},
        {"Écran", {}, "ECRAN", 98.0f},
        {"Paint", {}, "pa", 89.7f},                        // name prefix, d = 3
        {"Notepad+++", {}, "not", 89.3f},                  // d = 7
        {kNinetyX, {}, "x", 82.0f},                        // penalty capped at 8
        {"Quitter Talvo", {"quit", "exit"}, "ex", 86.0f},  // alias prefix
        {"Visual Studio Code", {}, "vis cod", 76.0f},      // every word starts a word
        {"Visual Studio Code", {}, "cod  vis", 76.0f},
        {"Visual Studio Code", {}, "stu", 77.0f},      // word prefix, position 1
        {"Visual Studio Code", {}, "code", 76.0f},     // position 2
        {"Visual Studio Code", {}, "vi", 88.4f},       // name prefix first
        {"Visual Studio Code", {}, "vsc", 72.0f},      // initials
        {"Visual Studio Code", {}, "sual", 55.0f},     // substring
        {"Visual Studio Code", {}, "vs code", 21.0f},  // subsequence, 12 skipped
        {"Visual Studio Code", {}, "vis", 88.5f},
        {"Mozilla Firefox", {}, "mzf", 33.0f},  // subsequence, 6 skipped
        // Outside Latin-1 the prefix penalty counts bytes, the subsequence gap characters.
        {"Œœœ", {}, "œ", 89.6f},            // d = 4 bytes
        {"Привет", {}, "пр", 89.2f},        // d = 8 bytes
        {"日本語", {}, "日", 89.4f},        // d = 6 bytes
        {"Aœœœb", {}, "ab", 39.0f},         // 3 skipped
        {"Приветмир", {}, "пм", 35.0f},     // 5 skipped
        {"日本語辞書", {}, "日書", 39.0f},  // 3 skipped
    };
    for (const RungCase& c : cases) {
        const auto score = score_of(app(c.name, c.aliases), c.query);
        ASSERT_TRUE(score.has_value()) << c.name << " / " << c.query;
        EXPECT_FLOAT_EQ(*score, c.score) << c.name << " / " << c.query;
    }
}

// The byte masks only let the ladder skip entries that no rung would match:
// with every mask bit set the scores must be the same.
TEST(MatchLadder, BytePrefiltersNeverChangeAScore) {
    const char* const names[] = {"Visual Studio Code", "Écran d'accueil",     "Œœœ",    "Приветмир",
                                 "日本語辞書",         "C:\\Outils\\vlc.exe", "x²Calc", "µTorrent"};
    const char* const queries[] = {"v",     "vis cod", "vsc", "sual",   "vs code", "écr",
                                   "ea",    "œ",       "пм",  "日書",   "vlc",     "x²",
                                   "c o v", "µt",      "zz",  "code v", "ou",      "\\"};
    for (const char* name : names) {
        const CatalogEntry entry = app(name, {"acc", "ecran"});
        CatalogEntry unfiltered = entry;
        unfiltered.byte_mask = ~std::uint64_t{0};
        unfiltered.word_start_mask = ~std::uint64_t{0};
        for (const char* query : queries) {
            EXPECT_EQ(score_of(entry, query), score_of(unfiltered, query))
                << name << " / " << query;
        }
    }
}

TEST(MatchLadder, CaseOfTheQueryNeverChangesTheScore) {
    const CatalogEntry calc = app("Calculatrice");
    EXPECT_EQ(score_of(calc, "CALC"), score_of(calc, "calc"));
}

TEST(MatchLadder, NamePrefixComputesInSinglePrecision) {
    // 0.1f x 7 in float is 0.7000000476..., so 90 - it rounds to 89.3f exactly.
    const auto score = score_of(app("Notepad+++"), "not");
    EXPECT_EQ(*score, 90.0f - std::min(0.1f * 7.0f, 8.0f));
}

TEST(MatchLadder, MultiWordQueryThatFailsTheWordRungSkipsTheOneWordRung) {
    // "vs" starts no word, so the entry falls through to the subsequence rung.
    EXPECT_FLOAT_EQ(*score_of(app("Visual Studio Code"), "vs code"), 21.0f);
    // An entry without words cannot pass the all-words rung, even for matching pieces.
    EXPECT_FLOAT_EQ(*score_of(app("++ --"), "+ -"), 55.0f);
}

TEST(MatchLadder, InitialsAndSubsequenceNeedTwoCharacters) {
    // One character: only a substring can match, never a scattered letter.
    EXPECT_FALSE(score_of(app("Visual Studio Code"), "z").has_value());
    // Two characters scattered in the name match by subsequence.
    EXPECT_TRUE(score_of(app("Visual Studio Code"), "vo").has_value());
    // Initials are folded like the query.
    EXPECT_FLOAT_EQ(*score_of(app("Éclair Zeste"), "ÉZ"), 72.0f);
}

TEST(MatchLadder, SubsequenceNeverDropsBelowTwenty) {
    const std::string far = "a" + std::string(200, 'x') + "b";
    EXPECT_FLOAT_EQ(*score_of(app(far), "ab"), 20.0f);
    // Characters before the first match are free.
    EXPECT_FLOAT_EQ(*score_of(app("xxxxaxb"), "ab"), 43.0f);
}

TEST(MatchLadder, NothingMatchesGivesNoPair) {
    EXPECT_FALSE(score_of(app("Paint"), "xyz").has_value());
    EXPECT_FALSE(score_of(app("Paint"), "tp").has_value());  // order matters
}

// Rankings a user would notice.
TEST(MatchEntries, RanksAsAUserExpects) {
    const Catalog catalog = {app("Lecteur VLC"), app("VLC media player"),
                             app("Vlc Helper", {"vlc"}), app("Lecteur Windows Media")};
    const auto pairs = match_entries(catalog, kNoneHidden, "vlc", kNoon, kNoMemory);
    ASSERT_EQ(pairs.size(), 3u);    // "Lecteur Windows Media" has no v-l-c in order
    EXPECT_EQ(pairs[0].index, 0u);  // pairs come in catalogue order
    EXPECT_EQ(pairs[1].index, 1u);
    EXPECT_EQ(pairs[2].index, 2u);
    // The alias beats the name prefix, which beats a later word.
    EXPECT_FLOAT_EQ(pairs[2].score, 100.0f);
    EXPECT_GT(pairs[2].score, pairs[1].score);
    EXPECT_GT(pairs[1].score, pairs[0].score);
}

CatalogEntry program(const std::string& name, std::string_view target) {
    return with_file_stem(app(name), target);
}

// The file name people know from the Run box finds its program first, and
// only when typed whole.
TEST(MatchEntries, AProgramIsFoundByItsWholeFileName) {
    const Catalog catalog = {
        program("VLC media player", "C:\\VideoLAN\\vlc.exe"),
        program("Invite de commandes", "C:\\Windows\\System32\\cmd.exe"),
        program("Connexion Bureau à distance", "C:\\Windows\\System32\\mstsc.exe"),
        program("Outil de lancement", "C:\\Outils\\launcher.exe"),
        program("Launch Pad", "C:\\Pad\\pad.exe"),
        app("cmd"),
    };
    const struct {
        const char* query;
        std::vector<std::string> ranked;  // names, best first
    } cases[] = {
        {"cmd", {"cmd", "Invite de commandes", "VLC media player"}},  // a name equal still wins
        {"CMD", {"cmd", "Invite de commandes", "VLC media player"}},
        {"mstsc", {"Connexion Bureau à distance"}},
        {"launch", {"Launch Pad"}},  // the stem never counts as a prefix
        {"launcher", {"Outil de lancement"}},
    };
    for (const auto& c : cases) {
        auto pairs = match_entries(catalog, kNoneHidden, prepare_query(c.query), kNoon, kNoMemory);
        std::stable_sort(pairs.begin(), pairs.end(),
                         [](const auto& a, const auto& b) { return a.score > b.score; });
        std::vector<std::string> ranked;
        for (const auto& pair : pairs) {
            ranked.push_back(catalog[pair.index].name);
        }
        EXPECT_EQ(ranked, c.ranked) << c.query;
    }
    EXPECT_EQ(score_of(catalog[1], "cmd"), 97.0f) << "just below a name equal to the query";
}

TEST(MatchEntries, HiddenEntriesProduceNoPairAndOrderFollowsTheCatalogue) {
    const Catalog catalog = {app("Paint"), app("Paint 3D"), app("Paintbrush")};
    HiddenKeys hidden{"app:Paint 3D"};
    const auto pairs = match_entries(catalog, hidden, "paint", kNoon, kNoMemory);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].index, 0u);
    EXPECT_EQ(pairs[1].index, 2u);
}

TEST(MatchEntries, HiddenKeysOfAnyLengthAreSkipped) {
    const std::string long_name = "Paint " + std::string(600, 'x');
    const Catalog catalog = {app("Paint"), app(long_name), app("Paint 2"), app("Paint 3")};
    HiddenKeys hidden{"app:" + long_name, "app:Paint 3"};  // "app:Paint 2" has the same length
    const auto pairs = match_entries(catalog, hidden, "paint", kNoon, kNoMemory);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].index, 0u);
    EXPECT_EQ(pairs[1].index, 2u);
}

// A memory where `key` was launched `count` times at `hour` on weekdays, each
// weighing 1, every time after typing `query`.
LearningMemory memory_with(const std::string& key, double count, unsigned hour,
                           const std::string& query = "") {
    LearningMemory memory;
    KeyWeights& weights = memory.keys[key];
    weights.key_weight = count;
    weights.hour_weight[hour] = count;
    weights.day_weight[0] = count;
    memory.total_weight = count;
    for (std::size_t n = 1; n <= query.size(); ++n) {
        memory.prefix_key_weight[query.substr(0, n)][key] = count;
        memory.prefix_weight[query.substr(0, n)] = count;
    }
    return memory;
}

TEST(ContextScore, AlwaysAtThisHourApproachesLnTwelve) {
    const LearningMemory memory = memory_with("app:x", 1e6, 9);
    const double at_nine = context_score(memory, "app:x", {9, 0});
    // Hour term tends to ln 12, weekday term to ln(7/5).
    EXPECT_NEAR(at_nine, std::log(12.0) + std::log(7.0 / 5.0), 1e-4);
    EXPECT_LT(context_score(memory, "app:x", {15, 0}), -10.0);
}

TEST(ContextScore, ExactFormulaWithHandMadeTables) {
    LearningMemory memory;
    KeyWeights& weights = memory.keys["k"];
    weights.key_weight = 3.0;
    weights.hour_weight[0] = 1.0;
    weights.hour_weight[23] = 2.0;
    weights.day_weight = {1.0, 2.0};
    const double n = 4.0;
    const double hour0 = std::log((0.25 * 0.0 + (0.25 * 2.0 + 0.5 * 1.0) + 1.0 / 24.0) / n * 24.0);
    const double weekend = std::log(((2.0 + 2.0 / 7.0) / n) / (2.0 / 7.0));
    EXPECT_DOUBLE_EQ(context_score(memory, "k", {0, 1}), hour0 + weekend);
    // At 23 the right neighbour is 0 o'clock.
    const double hour23 = std::log((0.25 * 1.0 + (0.25 * 0.0 + 0.5 * 2.0) + 1.0 / 24.0) / n * 24.0);
    const double weekday = std::log(((1.0 + 5.0 / 7.0) / n) / (5.0 / 7.0));
    EXPECT_DOUBLE_EQ(context_score(memory, "k", {23, 0}), hour23 + weekday);
}

TEST(ContextScore, UnknownKeyScoresZero) {
    EXPECT_EQ(context_score(kNoMemory, "app:nothing", kNoon), 0.0);
}

TEST(LearnedBonus, SumsContextFrequencyAndPrefixShareInDoubleThenRoundsToFloat) {
    LearningMemory memory = memory_with("app:x", 3.0, 12, "vl");
    memory.prefix_key_weight["vl"]["app:y"] = 1.0;
    memory.prefix_weight["vl"] = 4.0;
    const double c = std::clamp(context_score(memory, "app:x", kNoon), -2.0, 2.0);
    const double expected = c * 2.5 + (std::log(4.0) * 4.0 + 3.0 / 4.0 * 35.0);
    EXPECT_EQ(learned_bonus(memory, "app:x", "vl", kNoon), static_cast<float>(expected));
    // A shorter prefix of the query is never looked up.
    const double without_share = c * 2.5 + std::log(4.0) * 4.0;
    EXPECT_EQ(learned_bonus(memory, "app:x", "vlc", kNoon), static_cast<float>(without_share));
    EXPECT_EQ(learned_bonus(memory, "app:unknown", "vl", kNoon), 0.0f);
}

TEST(LearnedBonus, ContextIsClampedToPlusMinusTwo) {
    const LearningMemory memory = memory_with("app:x", 1e6, 9);
    const double frequency = std::log(1e6 + 1.0) * 4.0;
    // Far from the usual hour the context term bottoms out at -2 x 2.5.
    EXPECT_EQ(learned_bonus(memory, "app:x", "zz", {15, 0}), static_cast<float>(-5.0 + frequency));
    EXPECT_EQ(learned_bonus(memory, "app:x", "zz", {9, 0}), static_cast<float>(5.0 + frequency));
}

TEST(LearnedBonus, PrefixTotalOfZeroGivesNoShare) {
    LearningMemory memory = memory_with("app:x", 1.0, 12, "a");
    memory.prefix_weight["a"] = 0.0;
    const double c = std::clamp(context_score(memory, "app:x", kNoon), -2.0, 2.0);
    EXPECT_EQ(learned_bonus(memory, "app:x", "a", kNoon),
              static_cast<float>(c * 2.5 + std::log(2.0) * 4.0));
}

TEST(MatchEntries, LearnedChoiceAfterTheSameLettersOvertakesABetterNameMatch) {
    const Catalog catalog = {app("Calculatrice"), app("Calendrier")};
    // Without learning both are name prefixes of "cal"; the shorter name is ahead.
    auto pairs = match_entries(catalog, kNoneHidden, "cal", kNoon, kNoMemory);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_GT(pairs[1].score, pairs[0].score);
    // After choosing Calculatrice twice with "cal", it leads.
    const LearningMemory memory = memory_with("app:Calculatrice", 2.0, 12, "cal");
    pairs = match_entries(catalog, kNoneHidden, "cal", kNoon, memory);
    EXPECT_GT(pairs[0].score, pairs[1].score + 30.0f);
}

TEST(MatchEntries, PrefixShareOnlyUnderARecordedPrefix) {
    const LearningMemory memory = memory_with("app:Paint", 5.0, 12, "pai");
    const Catalog catalog = {app("Paint")};
    const auto pairs = match_entries(catalog, kNoneHidden, "pa", kNoon, memory);
    const float base = 89.7f;
    const double c = std::clamp(context_score(memory, "app:Paint", kNoon), -2.0, 2.0);
    const float bonus = static_cast<float>(c * 2.5 + std::log(6.0) * 4.0 + 35.0);
    EXPECT_EQ(pairs[0].score, base + bonus);  // "pa" is a recorded prefix of "pai"
    const auto other = match_entries(catalog, kNoneHidden, "paint", kNoon, memory);
    EXPECT_EQ(other[0].score, 98.0f + static_cast<float>(c * 2.5 + std::log(6.0) * 4.0));
}

}  // namespace
}  // namespace talvo
