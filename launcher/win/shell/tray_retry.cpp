#include "win/shell/tray_retry.h"

#include <utility>

#include "core/shell/tray_menu.h"

namespace talvo::win {

void TrayIconRetry::add(HWND hwnd, Instant now) {
    if (add_(hwnd)) {
        return;
    }
    if (!first_refusal_) {
        first_refusal_ = now;
        SetTimer(hwnd, timer_id_, static_cast<UINT>(kTrayAddRetryInterval.count()), nullptr);
    }
}

void TrayIconRetry::on_timer(HWND hwnd, Instant now) {
    if (!first_refusal_) {
        return;
    }
    if (add_(hwnd) || !tray_add_retry_continues(now - *first_refusal_)) {
        stop(hwnd);
    }
}

void TrayIconRetry::stop(HWND hwnd) {
    if (std::exchange(first_refusal_, std::nullopt)) {
        KillTimer(hwnd, timer_id_);
    }
}

}  // namespace talvo::win
