// Drawing operations as data: what a window's page draws, computed by the
// core and executed by the Win32 layer in two passes (anti-aliased shapes,
// then texts and icons), so the layout is tested without a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/page/geometry.h"

namespace talvo::draw {

// A filled shape in float pixels, colour 0xRRGGBB, opaque.
struct Shape {
    enum class Kind : std::uint8_t {
        RoundedRect,    // four rounded corners (radius 0: a plain rectangle)
        VerticalBar,    // top corners rounded, square bottom
        HorizontalBar,  // right corners rounded, square left end
    };

    Kind kind = Kind::RoundedRect;
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    float radius = 0;
    std::uint32_t colour = 0;

    bool operator==(const Shape&) const = default;
};

// Text alignment in its rectangle, always one line without prefix processing.
enum TextFlags : unsigned {
    kLeft = 0,
    kCenter = 1u << 0,
    kRight = 1u << 1,
    kVCenter = 1u << 2,
    kEndEllipsis = 1u << 3,
    kPathEllipsis = 1u << 4,
};

struct Text {
    std::string text;
    std::size_t font = 0;  // index into the window's fonts
    std::uint32_t colour = 0;
    layout::Rect rect;
    unsigned flags = kLeft;

    bool operator==(const Text&) const = default;
};

// The cached icon of an entry, blended into a square.
struct Icon {
    std::string key;
    layout::Rect rect;

    bool operator==(const Icon&) const = default;
};

// A plain rectangle, whole pixels, drawn in the text pass (the query's caret).
struct Fill {
    layout::Rect rect;
    std::uint32_t colour = 0;

    bool operator==(const Fill&) const = default;
};

using TextPassItem = std::variant<Text, Icon, Fill>;

// Whether an entry's icon is loaded, and a text's width in pixels in one of
// the page's fonts at the page's scale: what a layout asks of its window.
using HasIcon = std::function<bool(std::string_view key)>;
using TextWidth = std::function<std::int32_t(std::string_view text, std::size_t font)>;

}  // namespace talvo::draw
