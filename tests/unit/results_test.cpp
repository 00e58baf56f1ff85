// The popup's rows (typed query and suggestions), its size and the selection
// kept across a new catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/matching/results.h"
#include "core/popup/popup_layout.h"

namespace talvo {
namespace {

using Texts = std::vector<std::string>;

constexpr ClockSlot kNoon{12, 0};

// "Tool 3" and the like, built by appending (GCC 12 misreports `"x" + std::string&&`).
std::string numbered(std::string_view prefix, int n) {
    std::string text(prefix);
    text.append(std::to_string(n));
    return text;
}

CatalogEntry app(const std::string& id, const std::string& name) {
    return make_entry("app:" + id, name, "", LaunchTarget::open_path(id));
}

// A catalogue with its key index and the other sources, kept together.
struct Fixture {
    Catalog catalog;
    KeyIndex index;
    HiddenKeys hidden;
    LearningMemory memory;
    mutable MatchIndex match_index;

    explicit Fixture(Catalog entries)
        : catalog(std::move(entries)), index(build_key_index(catalog)) {}

    // The match index follows the catalogue and the hidden set, as in the popup.
    ResultSources sources() const {
        match_index = MatchIndex(catalog, hidden);
        return {catalog, index, hidden, memory, match_index};
    }

    Texts rows(std::string_view raw_query, ClockSlot clock = kNoon) const {
        Texts keys;
        for (const CatalogEntry& entry : compute_results(sources(), raw_query, clock)) {
            keys.push_back(entry.key);
        }
        return keys;
    }

    // Launch weights without any hour or day preference: spread evenly over
    // the hours and over the days of the week, so the context score is 0.
    void learn(const std::string& key, double weight) {
        KeyWeights& weights = memory.keys[key];
        weights.key_weight = weight;
        weights.hour_weight.fill(weight / 24);
        weights.day_weight = {weight * 5 / 7, weight * 2 / 7};
        memory.total_weight += weight;
    }
};

TEST(ClockSlot, HourModuloTwentyFourAndWeekendOnSaturdayAndSunday) {
    struct Case {
        int hour, weekday;
        unsigned slot_hour, weekend;
    };
    const Case cases[] = {{0, 0, 0, 1}, {23, 6, 23, 1}, {12, 1, 12, 0},
                          {9, 5, 9, 0}, {24, 3, 0, 0},  {-1, 3, 23, 0}};
    for (const Case& c : cases) {
        LocalTime local;
        local.hour = c.hour;
        local.weekday = c.weekday;
        const ClockSlot slot = clock_slot(local);
        EXPECT_EQ(slot.hour, c.slot_hour) << c.hour;
        EXPECT_EQ(slot.weekend, c.weekend) << c.weekday;
    }
}

TEST(TypedQuery, EqualScoresShowShorterNamesFirstThenCatalogueOrder) {
    const Fixture f({app("p3d", "Paint 3D"), app("paint", "Paint"), app("pb", "Paint b"),
                     app("pa", "Paint a")});
    // "ain" is a substring of every name, so all four score the same.
    EXPECT_EQ(f.rows("ain"), (Texts{"app:paint", "app:pb", "app:pa", "app:p3d"}));
}

TEST(TypedQuery, SevenEqualMatchesShowTheFirstSixInCatalogueOrder) {
    Catalog entries;
    for (int i = 1; i <= 7; ++i) {
        entries.push_back(app(std::to_string(i), numbered("Tool ", i)));
    }
    const Fixture f(std::move(entries));
    EXPECT_EQ(f.rows("tool"), (Texts{"app:1", "app:2", "app:3", "app:4", "app:5", "app:6"}));
}

TEST(Suggestions, BlankQueriesShowTheLearnedSuggestions) {
    Fixture f({app("a", "Alpha"), app("b", "Beta")});
    EXPECT_TRUE(f.rows("").empty());  // no history: no rows
    f.learn("app:b", 3);
    f.learn("app:a", 1);
    for (const char* blank : {"", "   ", "\t\xE3\x80\x80 "}) {
        EXPECT_EQ(f.rows(blank), (Texts{"app:b", "app:a"})) << '"' << blank << '"';
    }
}

TEST(Suggestions, TheHourOfPastLaunchesOutweighsASmallLeadInCount) {
    Fixture f({app("mail", "Mail"), app("game", "Game")});
    f.learn("app:game", 6);
    f.learn("app:mail", 5);
    f.memory.keys["app:game"].hour_weight.fill(0);
    f.memory.keys["app:game"].hour_weight[21] = 6;
    f.memory.keys["app:mail"].hour_weight.fill(0);
    f.memory.keys["app:mail"].hour_weight[9] = 5;
    EXPECT_EQ(f.rows("", {9, 0}), (Texts{"app:mail", "app:game"}));
    EXPECT_EQ(f.rows("", {21, 0}), (Texts{"app:game", "app:mail"}));
}

// ln((K + 0.01) / (total + 0.01)): the hundredth keeps the prior of a key
// that has left the memory finite. The fixture's launches add no context.
TEST(Suggestions, PriorSmoothsBothWeightsByAHundredth) {
    Fixture f({app("a", "Alpha")});
    f.learn("app:a", 0.5);
    f.learn("app:b", 1.5);
    EXPECT_NEAR(suggestion_prior(f.memory, "app:a", kNoon), std::log(0.51 / 2.01), 1e-12);
    EXPECT_NEAR(suggestion_prior(f.memory, "app:gone", kNoon), std::log(0.01 / 2.01), 1e-12);
}

// Twelve learned keys, "app:k1" the most launched; all are in the catalogue
// unless removed.
Fixture twelve_learned(const std::vector<int>& uninstalled) {
    Catalog entries;
    for (int i = 1; i <= 12; ++i) {
        if (std::find(uninstalled.begin(), uninstalled.end(), i) == uninstalled.end()) {
            entries.push_back(app(numbered("k", i), numbered("Key ", i)));
        }
    }
    entries.push_back(app("h1", "Hidden 1"));
    Fixture f(std::move(entries));
    for (int i = 1; i <= 12; ++i) {
        f.learn(numbered("app:k", i), 100.0 - i);
    }
    return f;
}

TEST(Suggestions, CandidatePoolIsSixPlusTheNumberOfHiddenKeys) {
    struct Case {
        const char* label;
        std::vector<int> uninstalled;
        Texts hidden;
        Texts rows;
    };
    const Case cases[] = {
        {"all present", {}, {}, {"app:k1", "app:k2", "app:k3", "app:k4", "app:k5", "app:k6"}},
        {"an uninstalled key uses up its place",
         {1},
         {},
         {"app:k2", "app:k3", "app:k4", "app:k5", "app:k6"}},
        {"hidden keys among the best are replaced",
         {},
         {"app:k2", "app:k4"},
         {"app:k1", "app:k3", "app:k5", "app:k6", "app:k7", "app:k8"}},
        // Three hidden keys elsewhere: the nine best are candidates, four of them gone.
        {"three hidden, four uninstalled",
         {2, 3, 5, 7},
         {"app:h1", "app:x", "app:y"},
         {"app:k1", "app:k4", "app:k6", "app:k8", "app:k9"}},
    };
    for (const Case& c : cases) {
        Fixture f = twelve_learned(c.uninstalled);
        f.hidden.insert(c.hidden.begin(), c.hidden.end());
        EXPECT_EQ(f.rows(""), c.rows) << c.label;
    }
}

TEST(Suggestions, ADuplicateKeyShowsItsLaterEntry) {
    Fixture f({app("x", "Old name"), app("x", "New name")});
    f.learn("app:x", 1);
    const auto rows = compute_results(f.sources(), "", kNoon);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "New name");
}

TEST(PopupSize, FitsTheRowsAtEachScale) {
    struct Case {
        std::size_t rows;
        float scale;
        PixelSize size;
    };
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0, 1.0f, {720, 86}},   {1, 1.0f, {720, 150}},   {6, 1.0f, {720, 420}},
        {4, 1.5f, {1080, 468}}, {0, 1.25f, {900, 108}},   // 107.5 rounds away from zero
        {3, 1.25f, {900, 323}}, {1, 1.75f, {1260, 263}},  // 262.5 rounds up
        {0, 0.0f, {0, 0}},      {2, kNaN, {0, 0}},       {6, 1e9f, {2147483647, 2147483647}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(layout::popup_size(c.rows, c.scale), c.size) << c.rows << " rows at " << c.scale;
    }
}

TEST(SelectionAfterNewCatalog, KeepsTheRowWhenItStillExists) {
    struct Case {
        std::size_t previous, rows;
        bool query_empty;
        std::size_t selected;
    };
    const Case cases[] = {
        {3, 6, true, 3},  {5, 4, true, 3},  {2, 0, true, 0},  {0, 0, true, 0},
        {3, 6, false, 3}, {5, 4, false, 0}, {4, 4, false, 0}, {2, 0, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selection_after_new_catalog(c.previous, c.rows, c.query_empty), c.selected)
            << c.previous << " of " << c.rows << (c.query_empty ? " (empty query)" : "");
    }
}

}  // namespace
}  // namespace talvo
