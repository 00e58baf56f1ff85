// Keeps trying to add the notification-area icon while the shell refuses it
// (at log-on the taskbar may not be ready yet), on a timer of the popup.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>

namespace talvo::win {

class TrayIconRetry {
  public:
    using Instant = std::chrono::steady_clock::time_point;
    using AddIcon = std::function<bool(HWND)>;

    TrayIconRetry(AddIcon add, UINT_PTR timer_id) : add_(std::move(add)), timer_id_(timer_id) {}

    // Adds the icon; a refusal starts the retries.
    void add(HWND hwnd, Instant now);
    // A tick of the timer: tries again; stops on success or when the time is up.
    void on_timer(HWND hwnd, Instant now);
    // No more retries: the taskbar announced itself, or the launcher quits.
    void stop(HWND hwnd);
    bool retrying() const { return first_refusal_.has_value(); }

  private:
    AddIcon add_;
    UINT_PTR timer_id_;
    std::optional<Instant> first_refusal_;
};

}  // namespace talvo::win
