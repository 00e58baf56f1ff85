#include "win/popup/popup_paint.h"

#include <string>

#include "core/popup/geometry.h"
#include "core/popup/popup_access.h"
#include "core/popup/popup_layout.h"
#include "win/popup/drawing.h"
#include "win/shell/app_state.h"

namespace talvo::win {
namespace {

namespace colour {
constexpr std::uint32_t kBackground = 0x262626;
constexpr std::uint32_t kQueryBox = 0x1C1C1C;
constexpr std::uint32_t kAccent = 0x357F87;  // logo tile and selection band
constexpr std::uint32_t kPlaceholder = 0x555555;
constexpr std::uint32_t kText = 0xF2F2F2;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kSelectedSubtitle = 0xD5E9EB;
constexpr std::uint32_t kSubtitle = 0x9A9A9A;
constexpr std::uint32_t kHint = 0x808080;
}  // namespace colour

constexpr char kPlaceholderText[] = "Talvo";
constexpr char kLogoLetter[] = "T";
constexpr char kEnterSymbol[] = "\u21B5";

// The three length conversions at the popup's scale.
struct Scaler {
    float scale;
    float s(float v) const { return v * scale; }
    std::int32_t r(float v) const { return scaled_px(v, scale); }
    static std::int32_t t(float v) { return truncate_saturated(v); }
};

bool has_icon(const AppState& state, const std::string& key) {
    const auto found = state.icon_cache.find(key);
    return found != state.icon_cache.end() && found->second.has_bitmap();
}

void fill_shapes(HDC dc, const AppState& state, const Scaler& k) {
    const Graphics graphics(dc);
    graphics.fill_rounded_rect(k.s(12), k.s(12), k.s(634), k.s(62), k.s(10), colour::kQueryBox);
    graphics.fill_rounded_rect(k.s(658), k.s(18), k.s(50), k.s(50), k.s(13), colour::kAccent);
    if (state.results.empty()) {
        return;
    }
    const float band_top = k.s(84 + 54 * static_cast<float>(state.selected));
    graphics.fill_rounded_rect(k.s(12), band_top, k.s(696), k.s(54), k.s(10), colour::kAccent);
    for (std::size_t i = 0; i < state.results.size(); ++i) {
        const CatalogEntry& entry = state.results[i];
        if (has_icon(state, entry.key)) {
            continue;
        }
        const auto x = static_cast<float>(k.r(24));
        const auto y = static_cast<float>(k.r(84 + 54 * static_cast<float>(i) + 9));
        graphics.fill_rounded_rect(x, y, k.s(36), k.s(36), k.s(8), layout::tile_colour(entry.key));
    }
}

void draw_query(HDC dc, const AppState& state, const Scaler& k) {
    const RECT text{Scaler::t(k.s(12) + k.s(16)), Scaler::t(k.s(12)),
                    Scaler::t(k.s(12) + k.s(634) - k.s(12)), Scaler::t(k.s(12) + k.s(62))};
    HFONT font = state.fonts[layout::kQueryFont].get();
    SelectObject(dc, font);
    std::int32_t caret_offset = 0;
    if (state.query.empty()) {
        draw_text(dc, kPlaceholderText, font, colour::kPlaceholder, text, DT_VCENTER);
    } else {
        const std::int32_t available = text.right - (text.left + k.r(4));
        const std::string_view query = state.query;
        const std::size_t start = layout::visible_query_start(
            query, available, [dc](std::string_view part) { return text_width(dc, part); });
        draw_text(dc, query.substr(start), font, colour::kText, text, DT_VCENTER | DT_LEFT);
        caret_offset = std::min(text_width(dc, query), available);
    }
    if (state.caret_on) {
        const std::int32_t height = k.r(32);
        const std::int32_t top = Scaler::t(k.s(12) + (k.s(62) - static_cast<float>(height)) * 0.5f);
        const RECT caret{text.left + caret_offset + k.r(1), top, text.left + caret_offset + k.r(3),
                         top + height};
        fill_rect(dc, caret, colour::kText);
    }
}

void draw_logo(HDC dc, const AppState& state, const Scaler& k) {
    const RECT logo{Scaler::t(k.s(658)), Scaler::t(k.s(18)), Scaler::t(k.s(658) + k.s(50)),
                    Scaler::t(k.s(18) + k.s(50))};
    draw_text(dc, kLogoLetter, state.fonts[layout::kLogoFont].get(), colour::kWhite, logo,
              DT_CENTER | DT_VCENTER);
}

void draw_row(HDC dc, const AppState& state, const Scaler& k, std::size_t i) {
    const CatalogEntry& entry = state.results[i];
    const bool selected = i == state.selected;
    const auto row = static_cast<float>(i);
    const std::int32_t row_top = k.r(84 + 54 * row);
    const std::int32_t tile_top = k.r(84 + 54 * row + 9);
    const RECT tile{k.r(24), tile_top, k.r(24) + k.r(36), tile_top + k.r(36)};
    const std::int32_t text_left = k.r(24) + k.r(36) + k.r(14);

    const auto icon = state.icon_cache.find(entry.key);
    if (icon != state.icon_cache.end() && icon->second.has_bitmap()) {
        blend_icon(dc, icon->second, tile);
    } else {
        draw_text(dc, layout::tile_letter(entry.name), state.fonts[layout::kTileFont].get(),
                  colour::kWhite, tile, DT_CENTER | DT_VCENTER);
    }
    draw_text(dc, entry.name, state.fonts[layout::kNameFont].get(), colour::kText,
              RECT{text_left, row_top + k.r(6), k.r(618), row_top + k.r(31)},
              DT_VCENTER | DT_END_ELLIPSIS);
    draw_text(dc, entry.subtitle, state.fonts[layout::kSubtitleFont].get(),
              selected ? colour::kSelectedSubtitle : colour::kSubtitle,
              RECT{text_left, row_top + k.r(31), k.r(618), row_top + k.r(49)},
              DT_VCENTER | DT_PATH_ELLIPSIS);
    const RECT hint{k.r(618), row_top, k.r(692), row_top + k.r(54)};
    if (selected) {
        draw_text(dc, kEnterSymbol, state.fonts[layout::kSymbolFont].get(), colour::kWhite, hint,
                  DT_RIGHT | DT_VCENTER);
    } else {
        draw_text(dc, row_hint(i), state.fonts[layout::kHintFont].get(), colour::kHint, hint,
                  DT_RIGHT | DT_VCENTER);
    }
}

void draw_frame(HDC dc, const RECT& client, const AppState& state) {
    const Scaler k{state.scale};
    fill_rect(dc, client, colour::kBackground);
    fill_shapes(dc, state, k);
    SetBkMode(dc, TRANSPARENT);
    draw_query(dc, state, k);
    draw_logo(dc, state, k);
    for (std::size_t i = 0; i < state.results.size(); ++i) {
        draw_row(dc, state, k, i);
    }
}

// BeginPaint and EndPaint as one scope.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

void paint_popup(HWND hwnd) {
    const PaintScope paint(hwnd);
    const StateSlot::Borrow state = ui_state().borrow();
    if (!state || paint.dc() == nullptr) {
        return;  // busy in a modal loop: this frame is skipped, the next paint shows it
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    const unique_hdc memory(CreateCompatibleDC(paint.dc()));
    const unique_hbitmap bitmap(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
    if (!memory || !bitmap) {
        return;
    }
    const SelectObjectScope selected(memory.get(), bitmap.get());
    {
        // Fonts selected while drawing are put back before the DC goes.
        const SelectObjectScope font(memory.get(), state->fonts[layout::kQueryFont].get());
        draw_frame(memory.get(), client, *state);
    }
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace talvo::win
