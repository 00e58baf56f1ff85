// Showing, placing and hiding the popup, and refitting it to its rows.
#include <cmath>

#include "core/matching/results.h"
#include "core/popup/popup_layout.h"
#include "core/popup/popup_show.h"
#include "core/shell/diagnostic_log.h"
#include "core/shell/platform.h"
#include "core/shell/rescan.h"
#include "win/catalog/catalog_install.h"
#include "win/launch/window_queries.h"
#include "win/page/drawing.h"
#include "win/platform/monitor.h"
#include "win/popup/popup_accessible.h"
#include "win/popup/popup_window.h"

namespace talvo::win {
namespace {

constexpr float kScaleChangeThreshold = 0.01f;

void compute_rows(PopupState& popup, const VisibleCatalog& catalog, const LearningMemory& memory,
                  HWND hwnd) {
    const ClockSlot clock = clock_slot(system_platform().clock.local_now());
    popup.results = compute_results(catalog.sources(memory), popup.query, clock);
    popup.selected = 0;
    const PixelSize size = layout::popup_size(popup.results.size(), popup.scale);
    SetWindowPos(hwnd, nullptr, popup.origin.x, popup.origin.y, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, FALSE);
    announce_popup_change(hwnd, PopupChange::Recomputed);
}

}  // namespace

void PopupWindow::recompute() {
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    BorrowSlot<VisibleCatalog>::Borrow catalog = ui_.catalog.borrow();
    BorrowSlot<LearningMemory>::Borrow memory = ui_.memory.borrow();
    if (popup && catalog && memory) {
        compute_rows(*popup, *catalog, *memory, hwnd_);
    }
}

void PopupWindow::refresh_for_new_catalog() {
    BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
    if (!popup || !popup->visible) {
        return;
    }
    const std::size_t previous = popup->selected;
    popup.release();
    recompute();
    if (BorrowSlot<PopupState>::Borrow again = ui_.popup.borrow()) {
        again->selected =
            selection_after_new_catalog(previous, again->results.size(), again->query.empty());
    }
}

void PopupWindow::repaint_if_shown() {
    if (BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow(); popup && popup->visible) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

// New fonts and icons at another scale when the monitor's differs; the popup
// placed under the pointer with an empty query; a rescan when the catalogue is old.
void PopupWindow::place_and_refresh() {
    const PointerMonitor monitor = monitor_under_pointer();
    const float scale = monitor.scale();
    {
        BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
        if (!popup) {
            return;
        }
        if (std::fabs(scale - popup->scale) > kScaleChangeThreshold) {
            popup->scale = scale;
            popup->fonts = create_popup_fonts(scale);
            // The old bitmaps go and every icon is requested again at the new size.
            BorrowSlot<VisibleCatalog>::Borrow catalog = ui_.catalog.borrow();
            BorrowSlot<IconStore>::Borrow icons = ui_.icons.borrow();
            if (catalog && icons) {
                icons->cache.clear();
                request_icons(*catalog, *icons, scale);
            }
        }
        const RECT& work = monitor.work_area;
        popup->origin =
            layout::popup_origin({work.left, work.top, work.right, work.bottom}, popup->scale);
        popup->query.clear();
    }
    recompute();
    if (BorrowSlot<CatalogFeed>::Borrow feed = ui_.feed.borrow()) {
        if (catalogue_is_stale(std::chrono::steady_clock::now() - feed->updated_at)) {
            start_scan(*feed, hwnd_);
        }
    }
}

bool PopupWindow::has_foreground() const {
    if (foreground_probe_ != nullptr) {
        return foreground_probe_(hwnd_);
    }
    return GetForegroundWindow() == hwnd_;
}

void PopupWindow::show() {
    front_window_ = window_in_front(hwnd_);  // before the popup takes the foreground
    place_and_refresh();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    if (show_outcome(has_foreground()) == ShowOutcome::HiddenAgain) {
        // Not a hide by the person: the tray click rule keeps its last hide.
        ShowWindow(hwnd_, SW_HIDE);
        write_log(system_platform(), kForegroundRefusedLog);
        return;
    }
    if (BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow()) {
        popup->visible = true;
        popup->caret_on = true;
        SetTimer(hwnd_, kCaretTimer, kCaretBlinkMs, nullptr);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PopupWindow::hide() {
    bool was_visible = false;
    if (BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow()) {
        was_visible = std::exchange(popup->visible, false);
    }
    if (!was_visible && !IsWindowVisible(hwnd_)) {
        return;
    }
    KillTimer(hwnd_, kCaretTimer);
    ShowWindow(hwnd_, SW_HIDE);
    last_hide_ = std::chrono::steady_clock::now();
}

void PopupWindow::toggle() {
    if (is_shown()) {
        hide();
    } else {
        show();
    }
}

bool PopupWindow::is_shown() {
    const bool shown = IsWindowVisible(hwnd_) != FALSE;
    if (BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow()) {
        popup->visible = popup->visible && shown;
    }
    return shown;
}

}  // namespace talvo::win
