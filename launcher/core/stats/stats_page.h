// The statistics page as drawing operations: every card, chart, list and
// caption at the window's scale and scroll offset, with the chart bars'
// hover regions; and the window's size, scrolling and hover rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/page/draw_ops.h"
#include "core/page/palette.h"
#include "core/stats/stats_model.h"

namespace talvo {

enum class ChartKind : std::uint8_t { Hours = 0, Weekdays = 1, Days = 2 };

struct ChartHover {
    ChartKind kind = ChartKind::Hours;
    std::size_t index = 0;

    bool operator==(const ChartHover&) const = default;
};

// A chart bar's area in page pixels (the scroll offset not subtracted).
struct HoverRegion {
    std::uint64_t index = 0;
    ChartKind kind = ChartKind::Hours;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const HoverRegion&) const = default;
};

// The page's eight fonts, all "Segoe UI": title, subtitle, figure value,
// figure label, card title, row text, small text, tile letter.
struct StatsFontSpec {
    float size;  // pixels at 96 DPI
    int weight;
};
inline constexpr std::array<StatsFontSpec, 8> kStatsFonts = {{{26, 700},
                                                              {13.5f, 400},
                                                              {28, 600},
                                                              {12.5f, 400},
                                                              {14.5f, 600},
                                                              {13.5f, 400},
                                                              {12, 400},
                                                              {11, 700}}};
inline constexpr std::string_view kStatsFontFace = "Segoe UI";

// The page is this many pixels high at 96 DPI; the window shows a part of it.
inline constexpr float kStatsPageWidth = 880;
inline constexpr float kStatsPageHeight = 914;

struct StatsPageView {
    float scale = 1.0f;
    std::int32_t scroll = 0;
    std::optional<ChartHover> hover;
};

// A line a screen reader says: drawn texts of the second pass, each joined to
// the one before by its joiner ("4" + " " + "lancements au total").
struct SpokenPart {
    std::size_t text = 0;  // index into StatsPage::texts
    std::string_view joiner;

    bool operator==(const SpokenPart&) const = default;
};
using SpokenLine = std::vector<SpokenPart>;

struct StatsPage {
    std::vector<draw::Shape> shapes;         // first pass
    std::vector<draw::TextPassItem> texts;   // second pass: texts, icons, letters
    std::vector<HoverRegion> hover_regions;  // one per chart bar, in drawing order
    std::vector<SpokenLine> spoken;          // in reading order; axis labels and letters left out
};

StatsPage layout_stats_page(const StatsModel& model, const StatsPageView& view,
                            const Palette& palette, const draw::HasIcon& has_icon,
                            const draw::TextWidth& text_width);

// Client height of a new window: the page, or the work area less 80 pixels at
// 96 DPI when that is smaller.
std::int32_t stats_client_height(std::int32_t work_area_height, float scale);

// The scroll offset after moving by `delta`, kept between 0 and the page end.
std::int32_t clamped_scroll(std::int32_t scroll, std::int64_t delta, std::int32_t client_height,
                            float scale);

// Scroll distance of a key (Up, Down, Page Up, Page Down, Space, Home, End),
// or nothing for any other key.
enum class StatsKey : std::uint8_t { Up, Down, PageUp, PageDown, Space, Home, End };
std::int64_t scroll_step(StatsKey key, std::int32_t client_height, float scale);

// One wheel event: delta 120 a notch, towards the user negative.
std::int64_t wheel_step(std::int32_t wheel_delta, float scale);

// The bar under a client point, by the last paint's regions.
std::optional<ChartHover> hover_at(const std::vector<HoverRegion>& regions, std::int32_t x,
                                   std::int32_t client_y, std::int32_t scroll);

}  // namespace talvo
