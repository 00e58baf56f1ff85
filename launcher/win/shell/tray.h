// The notification-area icon: added at start-up (again while the shell
// refuses it) and after Explorer restarts, removed when the popup is
// destroyed; its click and its keys toggle the popup, and its menu offers
// open, statistics, hidden entries, start with Windows and quit.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>

#include "core/shell/tray_menu.h"
#include "win/shell/app_state.h"
#include "win/shell/tray_retry.h"

namespace talvo::win {

class PopupWindow;
class StatsWindow;

class TrayIcon {
  public:
    // The icon belongs to the popup's window, which receives its callbacks.
    TrayIcon(PopupWindow& popup, StatsWindow& stats);

    // Whether the shell took the icon; asks for version 4 callbacks.
    bool add();
    // Adds the icon, trying again on the popup's retry timer while the shell refuses it.
    void add_with_retry();
    // A tick of the retry timer.
    void on_retry_timer();
    // "TaskbarCreated": the icon is refreshed when the shell still has it,
    // added again (with the retries) when it does not.
    void on_taskbar_created();
    // Ends the retries and removes the icon.
    void remove();
    // The icon's callback message: clicks, keys and the context menu.
    void on_callback(WPARAM wparam, LPARAM lparam);

  private:
    HWND owner() const;
    bool notify(DWORD action) const;
    void give_focus_back() const;
    void show_menu(POINT at);
    void on_click();
    void on_key_select();
    void run_choice(const TrayChoice& choice);
    void show_again(const TrayChoice& choice);

    PopupWindow& popup_;
    StatsWindow& stats_;
    TrayIconRetry retry_;
    bool version4_ = false;
    std::optional<Instant> last_key_select_;  // the last Enter or Space on the icon that acted
};

}  // namespace talvo::win
