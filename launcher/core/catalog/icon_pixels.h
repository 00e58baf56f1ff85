// Turns the pixels the shell returns for an icon into what per-pixel alpha
// blending needs: premultiplied blue, green, red, alpha.
#pragma once

#include <cstdint>
#include <span>

namespace talvo {

// In place, on 32-bit pixels in B, G, R, A byte order: all-zero alpha means an
// opaque icon (alpha set to 255); colours already at or below their alpha are
// taken as premultiplied; otherwise each colour becomes (c * a + 127) / 255.
void prepare_icon_pixels(std::span<std::uint8_t> bgra);

// Whether an image the shell returned can show an icon. A single row or
// column of pixels cannot (Wine's shell answers every request with 1 x 1);
// such a load counts as failed, so the row keeps its letter tile.
bool is_usable_icon_image(std::int32_t width, std::int32_t height);

// Icon side in pixels for a DPI scale: 36 at 96 DPI.
std::int32_t icon_pixel_size(float scale);

}  // namespace talvo
