// The running launcher: its state, split by owner, its windows and its icon,
// made once at start-up. It receives what the popup's window is sent that is
// not the popup's: the background threads' results, the other processes'
// requests, the tray icon's callbacks, Explorer's restart and the hotkey.
#pragma once

#include <windows.h>

#include "core/shell/platform.h"
#include "win/popup/popup_window.h"
#include "win/shell/app_state.h"
#include "win/shell/tray.h"
#include "win/stats/stats_window.h"

namespace talvo::win {

class Launcher final : public PopupWindow::Mailbox {
  public:
    // `preview`: the statistics window alone, whose end ends the launcher.
    explicit Launcher(bool preview);
    ~Launcher() override;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // The popup window, then the state and the icon worker; false when either
    // cannot be had (the launcher cannot run without them).
    bool start(HINSTANCE instance, const Platform& platform);
    // The popup window alone, for a state installed by the caller.
    bool create_window(HINSTANCE instance);

    PopupWindow& popup() { return popup_; }
    StatsWindow& stats() { return stats_; }
    TrayIcon& tray() { return tray_; }
    UiState& ui() { return ui_; }

    void on_catalog_ready() override;
    void on_icons_ready() override;
    void on_show_request() override;
    void on_quit_request() override;
    void on_tray_callback(WPARAM wparam, LPARAM lparam) override;
    void on_tray_retry_timer() override;
    void on_taskbar_created() override;
    void on_hotkey() override;
    void on_popup_destroyed() override;

  private:
    bool install_state(const Platform& platform);
    bool install_newest_catalog();

    UiState ui_;
    StatsWindow stats_;
    PopupWindow popup_;
    TrayIcon tray_;
};

}  // namespace talvo::win
