#include "core/catalog/icon_pixels.h"

#include "core/page/geometry.h"

namespace talvo {
namespace {

constexpr float kIconSide = 36.0f;

bool all_alpha_zero(std::span<const std::uint8_t> bgra) {
    for (std::size_t i = 3; i < bgra.size(); i += 4) {
        if (bgra[i] != 0) {
            return false;
        }
    }
    return true;
}

bool already_premultiplied(std::span<const std::uint8_t> bgra) {
    for (std::size_t i = 0; i + 3 < bgra.size(); i += 4) {
        const std::uint8_t alpha = bgra[i + 3];
        if (bgra[i] > alpha || bgra[i + 1] > alpha || bgra[i + 2] > alpha) {
            return false;
        }
    }
    return true;
}

}  // namespace

void prepare_icon_pixels(std::span<std::uint8_t> bgra) {
    const std::size_t whole = bgra.size() - bgra.size() % 4;
    bgra = bgra.first(whole);
    if (all_alpha_zero(bgra)) {
        for (std::size_t i = 3; i < bgra.size(); i += 4) {
            bgra[i] = 255;
        }
        return;
    }
    if (already_premultiplied(bgra)) {
        return;
    }
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        const unsigned alpha = bgra[i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            bgra[i + c] = static_cast<std::uint8_t>((bgra[i + c] * alpha + 127) / 255);
        }
    }
}

bool is_usable_icon_image(std::int32_t width, std::int32_t height) {
    return width >= 2 && height >= 2;
}

std::int32_t icon_pixel_size(float scale) {
    return scaled_px(kIconSide, scale);
}

}  // namespace talvo
