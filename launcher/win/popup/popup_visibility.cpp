#include "win/popup/popup_visibility.h"

#include <cmath>

#include "core/matching/results.h"
#include "core/popup/popup_show.h"
#include "core/shell/diagnostic_log.h"
#include "core/shell/platform.h"
#include "core/shell/rescan.h"
#include "win/catalog/catalog_install.h"
#include "win/page/drawing.h"
#include "win/platform/monitor.h"
#include "win/popup/popup_accessible.h"

namespace talvo::win {
namespace {

constexpr float kScaleChangeThreshold = 0.01f;

// New fonts and icons at another scale: the old bitmaps go and every icon is
// requested again at the new size.
void adopt_scale(AppState& state, float scale) {
    state.scale = scale;
    state.fonts = create_popup_fonts(scale);
    state.icon_cache.clear();
    Catalog catalog = std::move(state.catalog);
    install_catalog(state, std::move(catalog));
}

void place_and_refresh(AppState& state) {
    const PointerMonitor monitor = monitor_under_pointer();
    const float scale = monitor.scale();
    if (std::fabs(scale - state.scale) > kScaleChangeThreshold) {
        adopt_scale(state, scale);
    }
    const RECT& work = monitor.work_area;
    state.origin =
        layout::popup_origin({work.left, work.top, work.right, work.bottom}, state.scale);
    state.query.clear();
    recompute_results(state);
    if (catalogue_is_stale(std::chrono::steady_clock::now() - state.catalog_updated_at)) {
        start_scan(state);
    }
}

bool popup_has_foreground(HWND hwnd) {
    if (const ForegroundProbe probe = ui_values().foreground_probe) {
        return probe(hwnd);
    }
    return GetForegroundWindow() == hwnd;
}

}  // namespace

void recompute_results(AppState& state) {
    const ResultSources sources{state.catalog, state.key_index, state.hidden_keys, state.memory,
                                state.match_index};
    const ClockSlot clock = clock_slot(system_platform().clock.local_now());
    state.results = compute_results(sources, state.query, clock);
    state.selected = 0;
    const PixelSize size = layout::popup_size(state.results.size(), state.scale);
    SetWindowPos(state.hwnd, nullptr, state.origin.x, state.origin.y, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(state.hwnd, nullptr, FALSE);
    announce_popup_change(state.hwnd, PopupChange::Recomputed);
}

void show_popup(HWND hwnd) {
    if (StateSlot::Borrow state = ui_state().borrow()) {
        place_and_refresh(*state);
    }
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    if (show_outcome(popup_has_foreground(hwnd)) == ShowOutcome::HiddenAgain) {
        // Not a hide by the person: the tray click rule keeps its last hide.
        ShowWindow(hwnd, SW_HIDE);
        write_log(system_platform(), kForegroundRefusedLog);
        return;
    }
    if (StateSlot::Borrow state = ui_state().borrow()) {
        state->visible = true;
        state->caret_on = true;
        SetTimer(hwnd, kCaretTimer, kCaretBlinkMs, nullptr);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void hide_popup(HWND hwnd) {
    bool was_visible = false;
    if (StateSlot::Borrow state = ui_state().borrow()) {
        was_visible = std::exchange(state->visible, false);
    }
    if (!was_visible && !IsWindowVisible(hwnd)) {
        return;
    }
    KillTimer(hwnd, kCaretTimer);
    ShowWindow(hwnd, SW_HIDE);
    ui_values().last_hide = std::chrono::steady_clock::now();
}

void toggle_popup(HWND hwnd) {
    if (popup_is_shown(hwnd)) {
        hide_popup(hwnd);
    } else {
        show_popup(hwnd);
    }
}

bool popup_is_shown(HWND hwnd) {
    const bool shown = IsWindowVisible(hwnd) != FALSE;
    if (StateSlot::Borrow state = ui_state().borrow()) {
        state->visible = state->visible && shown;
    }
    return shown;
}

}  // namespace talvo::win
