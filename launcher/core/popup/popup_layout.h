// The popup's geometry and the small decisions of its drawing that need no
// window: placement, fonts, hit testing, letter tiles, query fitting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace talvo::layout {

// Lengths at 96 DPI.
inline constexpr float kPopupWidth = 720;
inline constexpr float kRowsTop = 84;
inline constexpr float kRowHeight = 54;
inline constexpr float kEmptyHeight = 86;  // the edit line alone, no rows
// Above and below the rows: a 74 header, a gap of 10 and a bottom margin of 12.
inline constexpr float kRowsFrame = 74 + 10 + 12;
inline constexpr float kRowLeft = 12;
inline constexpr float kRowRight = 708;

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const Rect&) const = default;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const Point&) const = default;
};

// Top-left corner of a popup centred horizontally in the work area with its
// top at 22 % of the work area's height.
Point popup_origin(const Rect& work_area, float scale);

struct FontSpec {
    const char* face;
    float size;  // pixels at 96 DPI
    int weight;
};

// The seven popup fonts, by slot: query, name, subtitle, hint, Enter symbol,
// logo letter, tile letter.
inline constexpr std::array<FontSpec, 7> kFonts = {{
    {"Segoe UI", 30, 300},
    {"Segoe UI", 19, 400},
    {"Segoe UI", 13, 400},
    {"Segoe UI", 15, 400},
    {"Segoe UI Symbol", 20, 400},
    {"Segoe UI", 28, 700},
    {"Segoe UI", 18, 600},
}};

enum FontSlot : std::size_t {
    kQueryFont = 0,
    kNameFont = 1,
    kSubtitleFont = 2,
    kHintFont = 3,
    kSymbolFont = 4,
    kLogoFont = 5,
    kTileFont = 6,
};

// Character height of a font at a scale, in whole pixels.
std::int32_t font_pixel_height(const FontSpec& font, float scale);

// Row under a client point, if the point is on one of `rows` rows.
std::optional<std::size_t> hit_row(std::int32_t x, std::int32_t y, std::size_t rows, float scale);

// Letter-tile colours, as 0xRRGGBB.
inline constexpr std::array<std::uint32_t, 6> kTilePalette = {0x4A6FA5, 0x8E5BA8, 0x3E8E6B,
                                                              0xB06A3B, 0x9C4B5E, 0x5A6A7A};

// h = h * 31 + byte over the key's bytes, wrapping at 32 bits.
std::uint32_t key_hash(std::string_view key);

// Palette colour of a key's letter tile: depends only on the key's bytes.
std::uint32_t tile_colour(std::string_view key);

// The tile letter: the name's first character in upper case (ß gives SS).
std::string tile_letter(std::string_view name);

// Byte offset from which a query is shown so that it fits `available`
// pixels: whole characters are dropped from its start, so a long query shows
// its end. `width_of` measures a text in pixels; it is asked a number of
// times logarithmic in the query's length.
std::size_t visible_query_start(std::string_view query, std::int32_t available,
                                const std::function<std::int32_t(std::string_view)>& width_of);

}  // namespace talvo::layout
