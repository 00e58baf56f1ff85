#include "core/popup/popup_layout.h"

#include <vector>

#include "core/text/utf.h"

namespace talvo::layout {

PixelSize popup_size(std::size_t rows, float scale) {
    const float height =
        rows == 0 ? kEmptyHeight : static_cast<float>(rows) * kRowHeight + kRowsFrame;
    return PixelSize{scaled_px(kPopupWidth, scale), scaled_px(height, scale)};
}

Point popup_origin(const Rect& work_area, float scale) {
    const std::int32_t width = scaled_px(kPopupWidth, scale);
    // Signed 32-bit arithmetic truncating toward zero, computed wide so that
    // extreme work areas cannot overflow.
    const std::int64_t x = work_area.left + (static_cast<std::int64_t>(work_area.right) -
                                             (static_cast<std::int64_t>(width) + work_area.left)) /
                                                2;
    const std::int64_t y =
        work_area.top + ((static_cast<std::int64_t>(work_area.bottom) - work_area.top) * 22) / 100;
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

std::int32_t font_pixel_height(const FontSpec& font, float scale) {
    return scaled_px(font.size, scale);
}

std::optional<std::size_t> hit_row(std::int32_t x, std::int32_t y, std::size_t rows, float scale) {
    const std::int32_t top = scaled_px(kRowsTop, scale);
    const std::int32_t height = scaled_px(kRowHeight, scale);
    if (y < top || x < scaled_px(kRowLeft, scale) || x > scaled_px(kRowRight, scale) ||
        height <= 0) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>((static_cast<std::int64_t>(y) - top) / height);
    return row < rows ? std::optional<std::size_t>(row) : std::nullopt;
}

Rect row_hit_region(std::size_t row, float scale) {
    const std::int64_t height = scaled_px(kRowHeight, scale);
    const std::int64_t top = scaled_px(kRowsTop, scale) + static_cast<std::int64_t>(row) * height;
    return {scaled_px(kRowLeft, scale), static_cast<std::int32_t>(top),
            scaled_px(kRowRight, scale) + 1, static_cast<std::int32_t>(top + height)};
}

std::size_t visible_query_start(std::string_view query, std::int32_t available,
                                const std::function<std::int32_t(std::string_view)>& width_of) {
    if (query.empty() || width_of(query) <= available) {
        return 0;
    }
    std::vector<std::size_t> starts;  // of each character but the first, which must go
    for (std::size_t pos = first_character_length(query); pos < query.size();
         pos += first_character_length(query.substr(pos))) {
        starts.push_back(pos);
    }
    // A tail narrows as characters leave its start: the first start whose tail
    // fits is found by halving, in a logarithmic number of measurements.
    std::size_t low = 0;
    std::size_t high = starts.size();  // past the last start: nothing shown
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (width_of(query.substr(starts[middle])) <= available) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low < starts.size() ? starts[low] : query.size();
}

}  // namespace talvo::layout
