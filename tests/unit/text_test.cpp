// Text folding, query preparation and UTF conversions.
#include <gtest/gtest.h>

#include "core/text/fold.h"
#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

struct FoldCase {
    const char* input;
    const char* folded;
};

constexpr FoldCase kFoldCases[] = {
    {"CALC", "calc"},
    {"Écran", "ecran"},
    {"NAÏVE", "naive"},
    {"Œuvre", "œuvre"},                       // U+0153 has no accent-table entry
    {"Straße", "straße"},                     // ß is already lower case and stays
    {"\xC4\xB0stanbul", "i\xCC\x87stanbul"},  // U+0130 becomes i + U+0307
    {"ÀÁÂÃÄÅ", "aaaaaa"},
    {"ÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝ", "ceeeeiiiinooooouuuuy"},
    {"àáâãäåçèéêëìíîïñòóôõöùúûüýÿ", "aaaaaaceeeeiiiinooooouuuuyy"},
    {"ÆæÐðØø÷Þþ", "ææððøø÷þþ"},  // the characters the table keeps
    {"µ¿ª²«»", "µ¿ª²«»"},        // below U+00C0 only A-Z change
    {"ΣΑΣ", "σασ"},              // no context rule for final sigma
    {"Ⅻ", "ⅻ"},                  // a Roman numeral lowers too
    {"Visual Studio Code - Insiders", "visual studio code - insiders"},
    {"", ""},
};

TEST(Fold, MapsEveryCharacterAsTheTableSays) {
    for (const FoldCase& c : kFoldCases) {
        EXPECT_EQ(fold(c.input), c.folded) << c.input;
    }
}

TEST(Fold, InvalidBytesBecomeReplacementCharactersAndOutputStaysValid) {
    const std::string folded = fold(
        "A\xFF"
        "B\xC3");
    EXPECT_EQ(folded,
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_TRUE(is_valid_utf8(folded));
}

TEST(PrepareQuery, TrimsUnicodeWhiteSpaceThenFolds) {
    EXPECT_EQ(prepare_query("  VLC \t"), "vlc");
    // NBSP, narrow NBSP, ideographic space and the line separators all count.
    EXPECT_EQ(prepare_query("\xC2\xA0\xE2\x80\xAF"
                            "Écran\xE3\x80\x80\xE2\x80\xA8"),
              "ecran");
    EXPECT_EQ(prepare_query(" \xC2\x85 "), "");
    // Inner white space stays as it is.
    EXPECT_EQ(prepare_query(" Vis  Cod "), "vis  cod");
    // A zero-width space is not white space.
    EXPECT_EQ(prepare_query("\xE2\x80\x8B"
                            "a"),
              "\xE2\x80\x8B"
              "a");
}

TEST(QueryWords, SplitAtRunsOfWhiteSpaceAndCompactDropsIt) {
    EXPECT_EQ(query_words("vis  cod"), (std::vector<std::string_view>{"vis", "cod"}));
    EXPECT_EQ(query_words("a\xE2\x80\x83"
                          "b\tc"),
              (std::vector<std::string_view>{"a", "b", "c"}));
    EXPECT_EQ(query_words("vlc"), (std::vector<std::string_view>{"vlc"}));
    EXPECT_TRUE(query_words("").empty());
    EXPECT_EQ(compact("vs code"), "vscode");
    EXPECT_EQ(compact("é\xE3\x80\x80"
                      "é"),
              "éé");
}

TEST(UnicodeProperties, WordRuleCategories) {
    EXPECT_TRUE(is_alphabetic(U'é'));
    EXPECT_TRUE(is_alphabetic(0xAA));  // ª
    EXPECT_FALSE(is_alphabetic(U'-'));
    EXPECT_TRUE(is_numeric(0xB2));  // ²
    EXPECT_TRUE(is_numeric(U'7'));
    EXPECT_TRUE(is_numeric(0x0663));  // Arabic-Indic three
    EXPECT_TRUE(is_uppercase(U'É'));
    EXPECT_TRUE(is_lowercase(U'é'));
    EXPECT_FALSE(is_uppercase(U'7'));
    EXPECT_TRUE(is_white_space(0x202F));
    EXPECT_FALSE(is_white_space(0x200B));
    EXPECT_FALSE(is_alphabetic(0x110000));  // beyond Unicode
}

TEST(CaseMapping, FullUpperCaseForTileLetters) {
    EXPECT_EQ(to_upper("ß"), "SS");
    EXPECT_EQ(to_upper("ﬁ"), "FI");
    EXPECT_EQ(to_upper("é"), "É");
    EXPECT_EQ(to_upper("7"), "7");
    EXPECT_EQ(to_lower("\xC4\xB0"), "i\xCC\x87");
    EXPECT_EQ(to_lower("ÉCRAN"), "écran");
}

TEST(Utf8, ValidationRejectsEveryMalformedForm) {
    EXPECT_TRUE(is_valid_utf8("héllo €𝄞"));
    EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));      // encoded surrogate
    EXPECT_FALSE(is_valid_utf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(is_valid_utf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(is_valid_utf8("\x80"));              // stray continuation
    EXPECT_TRUE(is_valid_utf8(std::string("a\0b", 3)));
}

TEST(Utf8, CharacterWalking) {
    EXPECT_EQ(count_characters("Réé𝄞"), 4u);
    EXPECT_EQ(first_character_length("é!"), 2u);
    EXPECT_EQ(first_character_length(""), 0u);
    EXPECT_EQ(last_character_start("ab€"), 2u);
    EXPECT_EQ(last_character_start("a𝄞"), 1u);
    EXPECT_EQ(last_character_start(""), 0u);
    EXPECT_EQ(last_character_start("a\x80\x80"), 2u);  // broken tail goes byte by byte
}

TEST(Utf16, ConversionsAndTheTwoPoliciesForUnpairedSurrogates) {
    EXPECT_EQ(utf8_to_utf16("é𝄞"), (std::u16string{0xE9, 0xD834, 0xDD1E}));
    EXPECT_EQ(utf16_to_utf8(u"é\U0001D11E", InvalidUtf16::Replace), "é𝄞");
    const std::u16string lone_high{u'a', 0xD800, u'b'};
    const std::u16string lone_low{0xDC00};
    const std::u16string reversed{0xDC00, 0xD800};
    EXPECT_EQ(utf16_to_utf8(lone_high, InvalidUtf16::Replace),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(utf16_to_utf8(lone_low, InvalidUtf16::Replace), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16_to_utf8(reversed, InvalidUtf16::Replace), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(utf16_to_utf8(lone_high, InvalidUtf16::Empty), "");
    EXPECT_EQ(utf16_to_utf8(u"ok", InvalidUtf16::Empty), "ok");
}

}  // namespace
}  // namespace talvo
