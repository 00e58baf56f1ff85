// What the launcher's windows share about places and sizes: rectangles and
// points in client pixels, and device-independent lengths (every on-screen
// length is given at 96 DPI and multiplied by the monitor's scale).
#pragma once

#include <cstdint>

namespace talvo {

namespace layout {

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

}  // namespace layout

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const PixelSize&) const = default;
};

// Rounds half away from zero to a signed 32-bit integer, saturating; NaN gives 0.
std::int32_t round_saturated(float value);

// Truncates toward zero to a signed 32-bit integer, saturating; NaN gives 0.
std::int32_t truncate_saturated(float value);

// S(v): the scaled length as a float, for anti-aliased shapes.
inline float scaled(float dip, float scale) {
    return dip * scale;
}

// R(v): the scaled length rounded to whole pixels.
inline std::int32_t scaled_px(float dip, float scale) {
    return round_saturated(dip * scale);
}

}  // namespace talvo
