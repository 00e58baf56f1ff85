// Device-independent lengths: every on-screen length is given at 96 DPI and
// multiplied by the monitor's scale.
#pragma once

#include <cstdint>

namespace talvo {

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
