// The statistics window ("TalvoStats"): one at most, drawn from a StatsModel
// of the launch records, scrollable, with hover on the chart bars, and read by
// screen readers from its last paint.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "core/page/access_element.h"
#include "core/stats/stats_model.h"
#include "core/stats/stats_page.h"
#include "win/popup/accessible_object.h"
#include "win/shell/app_state.h"

namespace talvo::win {

using StatsFonts = std::array<unique_hfont, kStatsFonts.size()>;

// The window's share of the state: the figures it shows and how it shows them.
struct StatsWindowState {
    std::optional<ChartHover> hover;
    StatsModel model;
    std::vector<HoverRegion> hover_regions;
    StatsFonts fonts;
    float scale = 1.0f;
    std::int32_t scroll = 0;
    bool mouse_tracked = false;
};

class StatsWindow {
  public:
    // `ends_the_loop`: closing the window ends the message loop (the preview).
    explicit StatsWindow(UiState& state, bool ends_the_loop = false);
    ~StatsWindow();
    StatsWindow(const StatsWindow&) = delete;
    StatsWindow& operator=(const StatsWindow&) = delete;

    // Opens the window, or gives the open one fresh figures, restores it when
    // minimised and brings it forward. Nothing when the records are busy.
    void open();
    // Fresh figures for an open window, keeping its hover and scroll, painted
    // at once and announced to readers; nothing when it is closed or busy.
    void refresh();
    // Repaints an open window whose state is free (new icons arrived).
    void repaint();
    // The open window, or null.
    HWND hwnd() const { return hwnd_; }

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);

    void create_with(StatsModel model);
    std::optional<StatsModel> current_model();
    void on_destroy();
    void on_paint();
    // The frame in the theme's colours, asked of the window manager.
    void colour_frame();
    void on_theme_change();
    void paint_page(HDC dc, const RECT& client, StatsWindowState& state);
    void on_key_down(WPARAM virtual_key);
    void on_mouse_move(LPARAM position);
    void on_mouse_leave();
    void on_wheel(WPARAM wparam);
    void on_dpi_changed(WPARAM wparam, LPARAM lparam);
    void on_size();
    LRESULT on_get_object(WPARAM wparam, LPARAM lparam);
    void scroll_by(std::int64_t delta);
    std::optional<float> scale();

    // The page's lines for readers: those of the last paint, or laid out once
    // before the first; nothing while the window's state is busy.
    std::optional<std::vector<access::Element>> reader_lines();

    UiState& ui_;
    bool ends_the_loop_;
    HWND hwnd_ = nullptr;
    BorrowSlot<StatsWindowState> state_;
    AccessibleRoot page_object_;
    std::optional<std::vector<access::Element>> painted_lines_;
};

}  // namespace talvo::win
