// The popup window ("TalvoWindow") as an object: its creation, its window
// procedure (a trampoline to small handlers), showing and hiding, keys and
// clicks, painting and what screen readers read. The messages that are the
// launcher's rather than the popup's arrive here too (other processes and the
// system post them to this window) and are handed to the launcher's mailbox.
#pragma once

#include <windows.h>

#include <optional>

#include "core/launch/focus_rules.h"
#include "core/launch/launch.h"
#include "core/shell/launcher_protocol.h"
#include "win/popup/popup_accessible.h"
#include "win/shell/app_state.h"

namespace talvo::win {

inline constexpr const wchar_t* kPopupClassName = protocol::kWindowClass;

class StatsWindow;

class PopupWindow {
  public:
    // Whoever owns what the popup's window receives but is not the popup's.
    class Mailbox {
      public:
        virtual ~Mailbox() = default;
        virtual void on_catalog_ready() = 0;
        virtual void on_icons_ready() = 0;
        virtual void on_show_request() = 0;
        virtual void on_quit_request() = 0;
        virtual void on_tray_callback(WPARAM wparam, LPARAM lparam) = 0;
        virtual void on_tray_retry_timer() = 0;
        virtual void on_taskbar_created() = 0;
        virtual void on_hotkey() = 0;
        virtual void on_popup_destroyed() = 0;
    };

    PopupWindow(UiState& ui, StatsWindow& stats) : ui_(ui), stats_(stats) {}
    ~PopupWindow();
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    // Registers the class and creates the hidden topmost popup; false on failure.
    bool create(HINSTANCE instance, Mailbox& mailbox);
    HWND hwnd() const { return hwnd_; }
    UiState& ui() { return ui_; }

    // Places the popup under the pointer's monitor, empties the query,
    // refreshes the rows, may start a rescan, and takes the focus. When the
    // system refuses it the foreground, the popup hides again and says so.
    void show();
    // Stops the caret, hides the window and notes when; nothing if already hidden.
    void hide();
    // Hides a shown popup, shows a hidden one (the hotkey, Enter on the tray icon).
    void toggle();
    // Whether the window is visible; clears `visible` when it is not.
    bool is_shown();
    // The moment of the last hide that hid the window.
    std::optional<Instant> last_hide() const { return last_hide_; }
    // The window that was in front at the last show, whose menu the
    // window-menu command opens; 0 for none.
    WindowHandle front_window() const { return front_window_; }

    // Rebuilds the rows from the query, selects the first, resizes and repaints.
    void recompute();
    // A new catalogue while shown: the rows again, the selection kept where it can be.
    void refresh_for_new_catalog();
    // The window again, for new icons, when shown.
    void repaint_if_shown();

    // Stands in for the system's answer whether the popup holds the
    // foreground after a show: Wine never refuses it, the tests do.
    void set_foreground_probe(ForegroundProbe probe) { foreground_probe_ = probe; }

    // Lets the messages other processes send the popup through User Interface
    // Privilege Isolation, which drops them on their way to an elevated
    // launcher (one an installer run as administrator started): Explorer's
    // "TaskbarCreated", a second start's show request and the setup's quit
    // request. True when all are allowed.
    bool allow_messages_from_other_processes();

    // The popup's own messages; the others go to the mailbox.
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);

    // Keys, typed characters and clicks; each works on the borrowed state and
    // returns what to do once it is released.
    PopupAction on_key_down(WPARAM virtual_key);
    void on_char(wchar_t unit);
    PopupAction on_left_button(LPARAM position);
    void on_right_button(LPARAM position);
    // A screen reader's default action on a row: what a click on it does.
    PopupAction on_accessible_open(WPARAM row);

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    void on_paint();
    // The frame in the theme's colours, asked of the window manager.
    void colour_frame();
    void on_theme_change();
    void on_timer(WPARAM timer);
    void keep_own_geometry(WINDOWPOS& position);
    void perform(PopupAction action);
    void place_and_refresh();
    bool has_foreground() const;
    // Hides an entry (refused for launcher commands) and refreshes the rows.
    void hide_entry_and_refresh(std::string_view key);

    UiState& ui_;
    StatsWindow& stats_;
    Mailbox* mailbox_ = nullptr;
    HWND hwnd_ = nullptr;
    UINT taskbar_created_ = 0;
    std::optional<PopupAccessible> accessible_;
    std::optional<Instant> last_hide_;
    WindowHandle front_window_ = 0;
    ForegroundProbe foreground_probe_ = nullptr;
};

}  // namespace talvo::win
