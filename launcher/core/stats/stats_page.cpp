#include "core/stats/stats_page.h"

#include <algorithm>
#include <string>

#include "core/page/geometry.h"
#include "core/page/letter_tile.h"
#include "core/stats/french_format.h"
#include "core/stats/stats_captions.h"

namespace talvo {
namespace {

using draw::Shape;
using draw::Text;

enum Font : std::size_t {
    kTitleFont,
    kSubtitleFont,
    kValueFont,
    kLabelFont,
    kCardTitleFont,
    kRowFont,
    kSmallFont,
    kTileFont,
};

constexpr float kChartLeft = 464;
constexpr float kChartWidth = 376;

struct Chart {
    ChartKind kind;
    float top;
    float baseline;
    const std::uint32_t* values;
    std::size_t count;
    float bar_fraction;
};

// Builds one page: the two passes and the hover regions, at one scale and scroll.
class PageBuilder {
  public:
    PageBuilder(const StatsPageView& view, const Palette& palette, const draw::HasIcon& has_icon,
                const draw::TextWidth& text_width)
        : view_(view),
          colours_(palette.stats),
          tiles_(palette.tiles),
          frames_(palette.frames),
          has_icon_(has_icon),
          text_width_(text_width) {}

    const StatsColours& colours() const { return colours_; }

    float s(float v) const { return scaled(v, view_.scale); }
    std::int32_t r(float v) const { return scaled_px(v, view_.scale); }

    void rounded(float x, float y, float w, float h, float radius, std::uint32_t c) {
        page_.shapes.push_back(
            {Shape::Kind::RoundedRect, s(x), s(y) - scroll(), s(w), s(h), s(radius), c});
    }

    // A bar whose corner radius fits its size; nothing for an empty one.
    void bar(Shape::Kind kind, float x, float y, float w, float h, float radius, std::uint32_t c) {
        const float width = s(w);
        const float height = s(h);
        if (width <= 0 || height <= 0) {
            return;
        }
        const float fitted = std::min({s(radius), width / 2, height / 2});
        page_.shapes.push_back({kind, s(x), s(y) - scroll(), width, height, fitted, c});
    }

    // Adds a text; its index, for the spoken lines.
    std::size_t text(std::string text, std::size_t font, std::uint32_t c, float left, float top,
                     float right, float bottom, unsigned flags) {
        page_.texts.push_back(
            Text{std::move(text),
                 font,
                 c,
                 {r(left), r(top) - view_.scroll, r(right), r(bottom) - view_.scroll},
                 flags});
        return page_.texts.size() - 1;
    }

    void speak(SpokenLine line) { page_.spoken.push_back(std::move(line)); }
    void speak(std::size_t text) { speak({{text, {}}}); }

    void card(float x, float y, float w, float h, std::string_view title,
              std::string_view subtitle) {
        rounded(x, y, w, h, 12, colours_.border);
        rounded(x + 1, y + 1, w - 2, h - 2, 11, colours_.card);
        speak(text(std::string(title), kCardTitleFont, colours_.primary, x + 16, y + 12, x + w - 16,
                   y + 34, draw::kVCenter));
        if (!subtitle.empty()) {
            speak(text(std::string(subtitle), kSmallFont, colours_.secondary, x + 16, y + 12,
                       x + w - 16, y + 34, draw::kRight | draw::kVCenter));
        }
    }

    // The row's icon when it is loaded, else a letter on a palette-coloured square.
    void list_icon(const std::string& key, std::string_view name, float y, float size) {
        if (has_icon_(key)) {
            const std::int32_t top = r(y) - view_.scroll;
            page_.texts.push_back(draw::Icon{key, {r(40), top, r(40) + r(size), top + r(size)}});
            return;
        }
        if (frames_) {
            rounded(40, y, size, size, 5, *frames_);
            rounded(41, y + 1, size - 2, size - 2, 4, layout::tile_colour(key, tiles_));
        } else {
            rounded(40, y, size, size, 5, layout::tile_colour(key, tiles_));
        }
        text(layout::tile_letter(name), kTileFont, colours_.primary, 40, y, 40 + size, y + size,
             draw::kCenter | draw::kVCenter);
    }

    // Axis labels sit under their bars; in a chart of narrow slots the first
    // and last align with the chart's edges.
    void chart(const Chart& c, const std::vector<std::pair<std::size_t, std::string>>& labels) {
        const float slot = kChartWidth / static_cast<float>(c.count);
        const float bar_width = std::max(c.bar_fraction * slot, 2.0f);
        const std::uint32_t largest = *std::max_element(c.values, c.values + c.count);
        const float most = largest == 0 ? 1.0f : static_cast<float>(largest);
        const float area = c.baseline - c.top;
        page_.shapes.push_back({Shape::Kind::RoundedRect, s(kChartLeft), s(c.baseline) - scroll(),
                                s(kChartWidth), std::max(view_.scale, 1.0f), 0, colours_.baseline});
        for (std::size_t i = 0; i < c.count; ++i) {
            const float x = kChartLeft + static_cast<float>(i) * slot;
            const float height =
                c.values[i] > 0 ? std::max(static_cast<float>(c.values[i]) * area / most, 3.0f) : 0;
            const bool hovered = view_.hover == ChartHover{c.kind, i};
            bar(Shape::Kind::VerticalBar, x + (slot - bar_width) / 2, c.baseline - height,
                bar_width, height, 3, hovered ? colours_.hovered_bar : colours_.bar);
            page_.hover_regions.push_back({i, c.kind, r(x), r(c.top - 8),
                                           r(kChartLeft + static_cast<float>(i + 1) * slot),
                                           r(c.baseline + 18)});
        }
        for (const auto& [i, label] : labels) {
            const bool narrow = slot < 40;
            const float top = c.baseline + 4;
            const float bottom = c.baseline + 20;
            if (narrow && i == 0) {
                text(label, kSmallFont, colours_.axis, 464, top, 584, bottom, draw::kLeft);
            } else if (narrow && i == c.count - 1) {
                text(label, kSmallFont, colours_.axis, 720, top, 840, bottom, draw::kRight);
            } else {
                const float middle = kChartLeft + (static_cast<float>(i) + 0.5f) * slot;
                text(label, kSmallFont, colours_.axis, middle - 40, top, middle + 40, bottom,
                     draw::kCenter);
            }
        }
    }

    // A text's width in one of the page's fonts, back at 96 DPI.
    float width_in_dips(std::string_view text, std::size_t font) const {
        return static_cast<float>(text_width_(text, font)) / view_.scale;
    }

    StatsPage take() { return std::move(page_); }

  private:
    float scroll() const { return static_cast<float>(view_.scroll); }

    const StatsPageView& view_;
    const StatsColours& colours_;
    const std::array<std::uint32_t, 6>& tiles_;
    const std::optional<std::uint32_t>& frames_;
    const draw::HasIcon& has_icon_;
    const draw::TextWidth& text_width_;
    StatsPage page_;
};

void key_figures(PageBuilder& page, const StatsModel& model) {
    const std::array<std::pair<std::string, std::string_view>, 4> figures = {{
        {format_count(model.total), kTotalLabel},
        {format_count(model.today), kTodayLabel},
        {format_decimal(model.daily_average), kDailyAverageLabel},
        {format_count(model.distinct), kDistinctLabel},
    }};
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const float x = 24 + 211 * static_cast<float>(i);
        page.rounded(x, 92, 199, 78, 12, page.colours().border);
        page.rounded(x + 1, 93, 197, 76, 11, page.colours().card);
        const std::size_t value = page.text(figures[i].first, kValueFont, page.colours().primary,
                                            x + 16, 100, x + 183, 136, draw::kVCenter);
        const std::size_t label =
            page.text(std::string(figures[i].second), kLabelFont, page.colours().secondary, x + 16,
                      138, x + 183, 158, draw::kVCenter | draw::kEndEllipsis);
        page.speak({{value, {}}, {label, " "}});
    }
}

// A row of a list card: the entry's icon or letter tile, its name, and a text
// at the right (a count, a time), spoken as one line.
struct ListRow {
    const std::string& key;
    const std::string& name;
    float icon_offset;  // below the row's top
    float icon_size;
    float name_left;
    float name_right;
    std::string right_text;
    std::size_t right_font;
    float right_left;
};

void list_row(PageBuilder& page, float y, const ListRow& row) {
    page.list_icon(row.key, row.name, y + row.icon_offset, row.icon_size);
    const std::size_t name = page.text(row.name, kRowFont, page.colours().primary, row.name_left, y,
                                       row.name_right, y + 26, draw::kVCenter | draw::kEndEllipsis);
    const std::size_t right =
        page.text(row.right_text, row.right_font, page.colours().secondary, row.right_left, y, 416,
                  y + 26, draw::kRight | draw::kVCenter);
    page.speak({{name, {}}, {right, ", "}});
}

void most_launched(PageBuilder& page, const StatsModel& model) {
    page.card(24, 186, 408, 296, kTopTitle, {});
    const std::size_t rows = std::min(model.top.size(), kTopCount);
    const std::uint32_t first = rows > 0 ? model.top[0].count : 0;
    const float most = first == 0 ? 1.0f : static_cast<float>(first);
    for (std::size_t i = 0; i < rows; ++i) {
        const TopItem& item = model.top[i];
        const float y = 232 + 30 * static_cast<float>(i);
        list_row(page, y,
                 {item.key, item.name, 3, 20, 70, 210, format_count(item.count), kRowFont, 380});
        page.rounded(220, y + 9, 156, 8, 4, page.colours().track);
        page.bar(Shape::Kind::HorizontalBar, 220, y + 9,
                 156 * static_cast<float>(item.count) / most, 8, 4, page.colours().bar);
    }
}

std::string hour_subtitle(const StatsModel& model, const std::optional<ChartHover>& hover) {
    if (hover && hover->kind == ChartKind::Hours && hover->index < model.by_hour.size()) {
        return hovered_hour_caption(hover->index, model.by_hour[hover->index]);
    }
    return peak_hour_caption(peak_hour(model));
}

std::string weekday_subtitle(const StatsModel& model, const std::optional<ChartHover>& hover) {
    if (hover && hover->kind == ChartKind::Weekdays && hover->index < model.by_weekday.size()) {
        return hovered_weekday_caption(hover->index, model.by_weekday[hover->index]);
    }
    return busiest_weekday_caption(busiest_weekday(model));
}

std::string days_subtitle(const StatsModel& model, const std::optional<ChartHover>& hover) {
    if (hover && hover->kind == ChartKind::Days && hover->index < model.last_30_days.size()) {
        return hovered_day_caption(model.day_labels[hover->index],
                                   model.last_30_days[hover->index]);
    }
    return daily_average_caption(model.daily_average);
}

void hour_chart(PageBuilder& page, const StatsModel& model, const StatsPageView& view) {
    page.card(448, 186, 408, 142, kHoursTitle, hour_subtitle(model, view.hover));
    std::vector<std::pair<std::size_t, std::string>> labels;
    for (const std::size_t hour : {0, 6, 12, 18, 23}) {
        labels.emplace_back(hour, hour_axis_label(hour));
    }
    page.chart({ChartKind::Hours, 232, 298, model.by_hour.data(), model.by_hour.size(), 0.72f},
               labels);
}

void weekday_chart(PageBuilder& page, const StatsModel& model, const StatsPageView& view) {
    page.card(448, 340, 408, 142, kWeekdaysTitle, weekday_subtitle(model, view.hover));
    std::vector<std::pair<std::size_t, std::string>> labels;
    for (std::size_t day = 0; day < 7; ++day) {
        labels.emplace_back(day, std::string(weekday_short_name(day)));
    }
    page.chart(
        {ChartKind::Weekdays, 386, 452, model.by_weekday.data(), model.by_weekday.size(), 0.42f},
        labels);
}

void latest_launches(PageBuilder& page, const StatsModel& model) {
    page.card(24, 494, 408, 236, kRecentTitle, {});
    const std::size_t rows = std::min(model.recent.size(), kRecentCount);
    for (std::size_t i = 0; i < rows; ++i) {
        const RecentItem& item = model.recent[i];
        list_row(page, 540 + 30 * static_cast<float>(i),
                 {item.key, item.name, 4, 18, 68, 268, item.when, kSmallFont, 268});
    }
}

void days_chart(PageBuilder& page, const StatsModel& model, const StatsPageView& view) {
    page.card(448, 494, 408, 236, kLast30DaysTitle, days_subtitle(model, view.hover));
    const std::vector<std::pair<std::size_t, std::string>> labels = {
        {0, model.day_labels[0]}, {kStatsDays - 1, "aujourd'hui"}};
    page.chart(
        {ChartKind::Days, 544, 696, model.last_30_days.data(), model.last_30_days.size(), 0.78f},
        labels);
}

void learned_pairs(PageBuilder& page, const StatsModel& model) {
    page.card(24, 742, 832, 148, kLearnedTitle, kLearnedSubtitle);
    if (model.learned.empty()) {
        page.speak(page.text(std::string(kNothingLearned), kRowFont, page.colours().secondary, 40,
                             792, 840, 816, draw::kVCenter));
        return;
    }
    const std::size_t rows = std::min(model.learned.size(), kLearnedCount);
    for (std::size_t i = 0; i < rows; ++i) {
        const LearnedItem& item = model.learned[i];
        const float x0 = 40 + 408 * static_cast<float>(i / 3);
        const float row = 30 * static_cast<float>(i % 3);
        const std::string query = learned_query_caption(item.query);
        const float query_width = page.width_in_dips(query, kRowFont);
        page.rounded(x0, 792 + row, query_width + 16, 22, 6, page.colours().chip);
        const std::size_t chip =
            page.text(query, kRowFont, page.colours().primary, x0, 792 + row, x0 + query_width + 16,
                      814 + row, draw::kCenter | draw::kVCenter);
        const float x1 = x0 + query_width + 16 + 10;
        const std::string name = learned_name_caption(item.name);
        const std::size_t arrow =
            page.text(name, kRowFont, page.colours().primary, x1, 790 + row, x1 + 280, 816 + row,
                      draw::kVCenter | draw::kEndEllipsis);
        const float x2 = x1 + std::min(page.width_in_dips(name, kRowFont), 280.0f) + 8;
        const std::size_t count =
            page.text(learned_count_caption(item.count), kSmallFont, page.colours().secondary, x2,
                      790 + row, x2 + 90, 816 + row, draw::kVCenter);
        page.speak({{chip, {}}, {arrow, " "}, {count, ", "}});
    }
}

}  // namespace

StatsPage layout_stats_page(const StatsModel& model, const StatsPageView& view,
                            const Palette& palette, const draw::HasIcon& has_icon,
                            const draw::TextWidth& text_width) {
    PageBuilder page(view, palette, has_icon, text_width);
    page.speak(page.text("Statistiques", kTitleFont, page.colours().primary, 24, 18, 624, 56,
                         draw::kVCenter));
    const std::string subtitle = model.total > 0 ? first_date_caption(model.first_date_text)
                                                 : std::string(kNoHistorySubtitle);
    page.speak(page.text(subtitle, kSubtitleFont, page.colours().secondary, 24, 56, 844, 76,
                         draw::kVCenter));
    if (model.total == 0) {
        page.speak(page.text(std::string(kEmptyHeading), kCardTitleFont, page.colours().primary, 0,
                             200, 880, 224, draw::kCenter | draw::kVCenter));
        page.speak(page.text(std::string(kEmptyText), kRowFont, page.colours().secondary, 0, 230,
                             880, 252, draw::kCenter | draw::kVCenter));
        return page.take();
    }
    key_figures(page, model);
    most_launched(page, model);
    hour_chart(page, model, view);
    weekday_chart(page, model, view);
    latest_launches(page, model);
    days_chart(page, model, view);
    learned_pairs(page, model);
    return page.take();
}

std::int32_t stats_client_height(std::int32_t work_area_height, float scale) {
    const std::int64_t room =
        static_cast<std::int64_t>(work_area_height) - truncate_saturated(80 * scale);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(scaled_px(kStatsPageHeight, scale), room));
}

std::int32_t clamped_scroll(std::int32_t scroll, std::int64_t delta, std::int32_t client_height,
                            float scale) {
    const std::int64_t largest = std::max<std::int64_t>(
        static_cast<std::int64_t>(scaled_px(kStatsPageHeight, scale)) - client_height, 0);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scroll + delta, 0, largest));
}

std::int64_t scroll_step(StatsKey key, std::int32_t client_height, float scale) {
    const std::int64_t page = static_cast<std::int64_t>(client_height) - scaled_px(60, scale);
    switch (key) {
        case StatsKey::Up:
            return -scaled_px(48, scale);
        case StatsKey::Down:
            return scaled_px(48, scale);
        case StatsKey::PageUp:
            return -page;
        case StatsKey::PageDown:
        case StatsKey::Space:
            return page;
        case StatsKey::Home:
            return -100000;
        case StatsKey::End:
            return 100000;
    }
    return 0;
}

std::int64_t wheel_step(std::int32_t wheel_delta, float scale) {
    return -(static_cast<std::int64_t>(scaled_px(64, scale)) * wheel_delta) / 120;
}

std::optional<ChartHover> hover_at(const std::vector<HoverRegion>& regions, std::int32_t x,
                                   std::int32_t client_y, std::int32_t scroll) {
    const std::int64_t y = static_cast<std::int64_t>(client_y) + scroll;
    for (const HoverRegion& region : regions) {
        if (region.left <= x && x < region.right && region.top <= y && y < region.bottom) {
            return ChartHover{region.kind, static_cast<std::size_t>(region.index)};
        }
    }
    return std::nullopt;
}

}  // namespace talvo
