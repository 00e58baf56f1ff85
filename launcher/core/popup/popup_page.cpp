#include "core/popup/popup_page.h"

#include <algorithm>
#include <string>

#include "core/page/geometry.h"
#include "core/page/letter_tile.h"
#include "core/popup/popup_access.h"
#include "core/popup/popup_layout.h"

namespace talvo {
namespace {

using namespace layout;

constexpr char kPlaceholderText[] = "Talvo";
constexpr char kLogoLetter[] = "T";
constexpr char kEnterSymbol[] = "\u21B5";

// Builds the page with the three length conversions of the popup: S(v) for
// shapes, R(v) for whole pixels, T(v) to truncate a sum of S values.
class PopupPageBuilder {
  public:
    PopupPageBuilder(const PopupPageView& view, const Palette& palette,
                     const draw::HasIcon& has_icon, const draw::TextWidth& text_width)
        : view_(view),
          colours_(palette.popup),
          tiles_(palette.tiles),
          frames_(palette.frames),
          has_icon_(has_icon),
          text_width_(text_width) {}

    PopupPage build() {
        page_.background = colours_.background;
        shapes();
        query_line();
        logo_letter();
        for (std::size_t i = 0; i < view_.rows.size(); ++i) {
            row(i);
            page_.row_regions.push_back(row_hit_region(i, view_.scale));
        }
        return std::move(page_);
    }

  private:
    float s(float v) const { return scaled(v, view_.scale); }
    std::int32_t r(float v) const { return scaled_px(v, view_.scale); }
    static std::int32_t t(float v) { return truncate_saturated(v); }

    float row_top_dip(std::size_t i) const { return kRowsTop + kRowHeight * static_cast<float>(i); }

    void rounded(float x, float y, float w, float h, float radius, std::uint32_t colour) {
        page_.shapes.push_back({draw::Shape::Kind::RoundedRect, x, y, w, h, radius, colour});
    }

    // A shape with a one-pixel frame of the palette's, when it has frames.
    void framed(float x, float y, float w, float h, float radius, std::uint32_t colour) {
        if (!frames_) {
            rounded(x, y, w, h, radius, colour);
            return;
        }
        const auto pixel = static_cast<float>(r(1));
        rounded(x, y, w, h, radius, *frames_);
        rounded(x + pixel, y + pixel, w - 2 * pixel, h - 2 * pixel, std::max(radius - pixel, 0.0f),
                colour);
    }

    void text(std::string value, std::size_t font, std::uint32_t colour, const Rect& rect,
              unsigned flags) {
        page_.items.push_back(draw::Text{std::move(value), font, colour, rect, flags});
    }

    bool has_icon(const CatalogEntry& entry) const { return has_icon_(entry.key); }

    // The popup's own frame, the query box, the logo tile, the selection band
    // and the letter tiles.
    void shapes() {
        if (frames_) {
            const PixelSize size = popup_size(view_.rows.size(), view_.scale);
            framed(0, 0, static_cast<float>(size.width), static_cast<float>(size.height), 0,
                   colours_.background);
        }
        framed(s(kQueryBoxLeft), s(kQueryBoxTop), s(kQueryBoxWidth), s(kQueryBoxHeight),
               s(kQueryBoxRadius), colours_.query_box);
        rounded(s(kLogoLeft), s(kLogoTop), s(kLogoSize), s(kLogoSize), s(kLogoRadius),
                colours_.accent);
        if (view_.rows.empty()) {
            return;
        }
        rounded(s(kRowLeft), s(row_top_dip(view_.selected)), s(kBandWidth), s(kRowHeight),
                s(kBandRadius), colours_.accent);
        for (std::size_t i = 0; i < view_.rows.size(); ++i) {
            const CatalogEntry& entry = view_.rows[i];
            if (!has_icon(entry)) {
                framed(static_cast<float>(r(kTileLeft)),
                       static_cast<float>(r(row_top_dip(i) + kTileTop)), s(kTileSize), s(kTileSize),
                       s(kTileRadius), tile_colour(entry.key, tiles_));
            }
        }
    }

    // The query's end (or the placeholder), then the caret after the text.
    void query_line() {
        const Rect box{t(s(kQueryBoxLeft) + s(kQueryTextInsetLeft)), t(s(kQueryBoxTop)),
                       t(s(kQueryBoxLeft) + s(kQueryBoxWidth) - s(kQueryTextInsetRight)),
                       t(s(kQueryBoxTop) + s(kQueryBoxHeight))};
        std::int32_t caret_offset = 0;
        if (view_.query.empty()) {
            text(kPlaceholderText, kQueryFont, colours_.placeholder, box, draw::kVCenter);
        } else {
            const std::int32_t available = box.right - (box.left + r(kQueryTextSlack));
            const auto width = [&](std::string_view part) { return text_width_(part, kQueryFont); };
            const std::size_t start = visible_query_start(view_.query, available, width);
            text(std::string(view_.query.substr(start)), kQueryFont, colours_.text, box,
                 draw::kVCenter | draw::kLeft);
            caret_offset = std::min(width(view_.query), available);
        }
        if (view_.caret_on) {
            const std::int32_t height = r(kCaretHeight);
            const std::int32_t top =
                t(s(kQueryBoxTop) + (s(kQueryBoxHeight) - static_cast<float>(height)) * 0.5f);
            page_.items.push_back(
                draw::Fill{{box.left + caret_offset + r(kCaretGap), top,
                            box.left + caret_offset + r(kCaretRight), top + height},
                           colours_.text});
        }
    }

    void logo_letter() {
        text(kLogoLetter, kLogoFont, colours_.on_accent,
             {t(s(kLogoLeft)), t(s(kLogoTop)), t(s(kLogoLeft) + s(kLogoSize)),
              t(s(kLogoTop) + s(kLogoSize))},
             draw::kCenter | draw::kVCenter);
    }

    // The icon or the tile's letter, the name, the subtitle and the hint.
    void row(std::size_t i) {
        const CatalogEntry& entry = view_.rows[i];
        const bool selected = i == view_.selected;
        const std::int32_t row_top = r(row_top_dip(i));
        const std::int32_t tile_top = r(row_top_dip(i) + kTileTop);
        const Rect tile{r(kTileLeft), tile_top, r(kTileLeft) + r(kTileSize),
                        tile_top + r(kTileSize)};
        const std::int32_t text_left = r(kTileLeft) + r(kTileSize) + r(kTileTextGap);
        if (has_icon(entry)) {
            page_.items.push_back(draw::Icon{entry.key, tile});
        } else {
            text(tile_letter(entry.name), kTileFont, colours_.tile_letter, tile,
                 draw::kCenter | draw::kVCenter);
        }
        text(entry.name, kNameFont, selected ? colours_.selected_text : colours_.text,
             {text_left, row_top + r(kNameTop), r(kTextRight), row_top + r(kNameBottom)},
             draw::kVCenter | draw::kEndEllipsis);
        text(entry.subtitle, kSubtitleFont,
             selected ? colours_.selected_subtitle : colours_.subtitle,
             {text_left, row_top + r(kNameBottom), r(kTextRight), row_top + r(kSubtitleBottom)},
             draw::kVCenter | draw::kPathEllipsis);
        const Rect hint{r(kTextRight), row_top, r(kHintRight), row_top + r(kRowHeight)};
        if (selected) {
            text(kEnterSymbol, kSymbolFont, colours_.on_accent, hint,
                 draw::kRight | draw::kVCenter);
        } else {
            text(row_hint(i), kHintFont, colours_.hint, hint, draw::kRight | draw::kVCenter);
        }
    }

    const PopupPageView& view_;
    const PopupColours& colours_;
    const std::array<std::uint32_t, 6>& tiles_;
    const std::optional<std::uint32_t>& frames_;
    const draw::HasIcon& has_icon_;
    const draw::TextWidth& text_width_;
    PopupPage page_;
};

}  // namespace

PopupPage layout_popup_page(const PopupPageView& view, const Palette& palette,
                            const draw::HasIcon& has_icon, const draw::TextWidth& text_width) {
    return PopupPageBuilder(view, palette, has_icon, text_width).build();
}

}  // namespace talvo
