#include "core/page/geometry.h"

#include <cmath>
#include <limits>

namespace talvo {
namespace {

std::int32_t saturate(float whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    // 2^31 is exactly representable; anything at or past it saturates.
    if (whole >= 2147483648.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (whole <= -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(whole);
}

}  // namespace

std::int32_t round_saturated(float value) {
    return saturate(std::round(value));
}

std::int32_t truncate_saturated(float value) {
    return saturate(std::trunc(value));
}

}  // namespace talvo
