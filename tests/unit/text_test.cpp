// Text folding, query preparation and UTF conversions.
#include <gtest/gtest.h>

#include "core/text/fold.h"
#include "core/text/unicode.h"
#include "core/text/utf.h"
#include "unicode_digests.h"

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

struct CaseMappingCase {
    char32_t c;
    std::u32string_view lower;
    std::u32string_view upper;
};

// Characters whose mappings are long, one-way, title case or far from ASCII,
// and the ends of runs of neighbouring letters.
constexpr CaseMappingCase kCaseMappingCases[] = {
    {U'ß', U"ß", U"SS"},
    {0x1E9E, U"ß", U"\u1E9E"},                   // capital sharp s
    {0x0130, U"i\u0307", U"\u0130"},             // İ
    {0x0131, U"\u0131", U"I"},                   // dotless ı
    {0x012E, U"\u012F", U"\u012E"},              // Į, the last of a run of pairs
    {0x012F, U"\u012F", U"\u012E"},              // į
    {0x01C5, U"\u01C6", U"\u01C4"},              // ǅ, title case
    {0x03A3, U"\u03C3", U"\u03A3"},              // Σ
    {0x03C2, U"\u03C2", U"\u03A3"},              // final ς
    {0x0390, U"\u0390", U"\u0399\u0308\u0301"},  // ΐ, three characters
    {0x13A0, U"\uAB70", U"\u13A0"},              // Cherokee Ꭰ
    {0xABBF, U"\uABBF", U"\u13EF"},              // the last Cherokee small letter
    {0x13F5, U"\u13FD", U"\u13F5"},              // Cherokee Ᏽ
    {0x1C90, U"\u10D0", U"\u1C90"},              // Georgian Mtavruli Ა
    {0x10FF, U"\u10FF", U"\u1CBF"},              // the last Georgian letter with a Mtavruli capital
    {0x10400, U"\U00010428", U"\U00010400"},     // Deseret
    {0x1044F, U"\U0001044F", U"\U00010427"},
    {0x1E900, U"\U0001E922", U"\U0001E900"},  // Adlam
    {0x1E921, U"\U0001E943", U"\U0001E921"},
    {0x1E943, U"\U0001E943", U"\U0001E921"},
    {0x1E944, U"\U0001E944", U"\U0001E944"},  // Adlam alif lengthener, no case
};

std::u32string lower_of(char32_t c) {
    std::u32string out;
    append_lower(out, c);
    return out;
}

std::u32string upper_of(char32_t c) {
    std::u32string out;
    append_upper(out, c);
    return out;
}

std::u32string fold_of(char32_t c) {
    std::string text;
    append_utf8(text, c);
    const std::string folded = fold(text);
    std::u32string out;
    for (std::size_t pos = 0; pos < folded.size();) {
        out.push_back(decode_utf8(folded, pos));
    }
    return out;
}

TEST(CaseMapping, TrickyCharactersMapAsTheCharacterDatabaseSays) {
    for (const CaseMappingCase& c : kCaseMappingCases) {
        EXPECT_EQ(lower_of(c.c), c.lower) << std::hex << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(upper_of(c.c), c.upper) << std::hex << static_cast<std::uint32_t>(c.c);
    }
}

// The same walk as the generator's digest: count and hash (64-bit FNV-1a over
// 32-bit words) every scalar value a mapping changes.
unicode_digests::Digest digest_of(std::u32string (*mapped)(char32_t)) {
    unicode_digests::Digest digest{0, 0xCBF29CE484222325};
    const auto add = [&digest](std::uint32_t word) {
        digest.hash = (digest.hash ^ word) * 0x100000001B3;
    };
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const std::u32string result = mapped(c);
        if (result == std::u32string(1, c)) {
            continue;
        }
        ++digest.changed;
        add(c);
        add(static_cast<std::uint32_t>(result.size()));
        for (const char32_t r : result) {
            add(r);
        }
    }
    return digest;
}

TEST(CaseMapping, EveryCodePointMapsAsTheCharacterDatabaseSays) {
    const struct {
        const char* name;
        std::u32string (*mapped)(char32_t);
        unicode_digests::Digest expected;
    } kMappings[] = {
        {"lower", lower_of, unicode_digests::kLower},
        {"upper", upper_of, unicode_digests::kUpper},
        {"fold", fold_of, unicode_digests::kFold},
    };
    for (const auto& m : kMappings) {
        const unicode_digests::Digest actual = digest_of(m.mapped);
        EXPECT_EQ(actual.changed, m.expected.changed) << m.name;
        EXPECT_EQ(actual.hash, m.expected.hash) << m.name;
    }
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
