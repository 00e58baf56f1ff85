// The notification-area icon's menu as data (texts, ids, flags, order), what
// each chosen id means, the rule of a click on the icon, and how long a
// refused icon is tried again.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/hidden.h"

namespace talvo {

inline constexpr std::string_view kTrayTip = "Talvo (Alt+Espace)";

// The NOTIFYICONDATAW flags of every add and modify, by their Windows values:
// with version 4 callbacks the shell shows the standard tip only when
// NIF_SHOWTIP is set, so the tip would never appear on Windows 10 and 11.
namespace tray_flag {
inline constexpr std::uint32_t kMessage = 0x01;  // NIF_MESSAGE
inline constexpr std::uint32_t kIcon = 0x02;     // NIF_ICON
inline constexpr std::uint32_t kTip = 0x04;      // NIF_TIP
inline constexpr std::uint32_t kShowTip = 0x80;  // NIF_SHOWTIP
}  // namespace tray_flag
inline constexpr std::uint32_t kTrayIconFlags =
    tray_flag::kMessage | tray_flag::kIcon | tray_flag::kTip | tray_flag::kShowTip;

// Command ids; 0 is the placeholder and the answer of a dismissed menu.
enum TrayCommandId : std::uint32_t {
    kTrayNothing = 0,
    kTrayOpen = 1,
    kTrayAutostart = 2,
    kTrayQuit = 3,
    kTrayStats = 4,
    kTrayClearHistory = 5,
    kTrayShowAll = 50,
    kTrayShowHiddenFirst = 100,  // + the position in the hidden list
};

struct TrayMenuItem {
    enum class Kind : std::uint8_t { Command, Separator, Submenu };

    Kind kind = Kind::Command;
    std::string text;
    std::uint32_t id = kTrayNothing;
    bool grayed = false;
    bool checked = false;
    std::vector<TrayMenuItem> children;  // Kind::Submenu only

    bool operator==(const TrayMenuItem&) const = default;
};

// Open, statistics, the hidden entries (each to show again, or a grayed
// placeholder), clear the history, start with Windows (checked when on), quit.
std::vector<TrayMenuItem> tray_menu(bool autostart_on, const std::vector<HiddenMenuItem>& hidden);

struct TrayChoice {
    enum class Kind : std::uint8_t {
        Nothing,
        Open,
        Stats,
        ShowHidden,
        ShowAll,
        ClearHistory,
        Autostart,
        Quit
    };

    Kind kind = Kind::Nothing;
    std::string key;  // Kind::ShowHidden: the key of the pair the menu was built with

    bool operator==(const TrayChoice&) const = default;
};

// What a returned id asks for, against the hidden pairs the menu showed.
TrayChoice tray_choice(std::uint32_t id, const std::vector<HiddenMenuItem>& hidden);

// The icon's callback events that matter, by their Windows message numbers.
namespace tray_event {
inline constexpr std::uint32_t kContextMenu =
    0x007B;  // WM_CONTEXTMENU: Shift+F10, menu key, right click
inline constexpr std::uint32_t kLeftButtonUp = 0x0202;   // WM_LBUTTONUP
inline constexpr std::uint32_t kRightButtonUp = 0x0205;  // WM_RBUTTONUP
inline constexpr std::uint32_t kSelect = 0x0400;         // NIN_SELECT: follows a left click
inline constexpr std::uint32_t kKeySelect = 0x0401;  // NIN_KEYSELECT: Enter or Space on the icon
}  // namespace tray_event

enum class TrayAction : std::uint8_t {
    None,
    Click,          // the click rule: toggle, unless this click just hid the popup
    Toggle,         // the keyboard: toggle, whenever the popup was hidden
    MenuAtAnchor,   // the menu at the point the shell gives
    MenuAtPointer,  // the menu at the mouse pointer
};

// What an icon event asks. The shell of version 4 callbacks follows a right
// click with a context-menu event and a left click with a selection: one
// message of each gesture acts, so nothing happens twice. Without version 4
// (an older shell refused it) the button-up messages act.
TrayAction tray_action(std::uint32_t event, bool version4);

// Windows 10 is reported to deliver NIN_KEYSELECT twice for one Enter on the
// icon: a key select no later than the double-click time after the last one
// that acted is that echo and does nothing, or the popup would show and hide
// at once. `since_last_acting` is empty before the first.
bool key_select_acts(std::optional<std::chrono::steady_clock::duration> since_last_acting,
                     std::chrono::milliseconds double_click_time);

// Whether carrying out a choice puts a launcher window (or its question) in front. When it does
// not (a dismissed menu, a setting), the keyboard goes back to the notification
// area instead of staying with the hidden popup.
bool tray_choice_shows_window(TrayChoice::Kind kind);

// At log-on the shell may refuse the icon before the taskbar is ready, and
// then never announce the taskbar: the add is tried again every 2 s for 2 min.
inline constexpr std::chrono::milliseconds kTrayAddRetryInterval{2000};
inline constexpr std::chrono::minutes kTrayAddRetryPeriod{2};

// Whether to try the add again, this long after the first refusal.
bool tray_add_retry_continues(std::chrono::steady_clock::duration since_first_refusal);

// Below this age of the last hide, a click on the icon leaves the popup hidden:
// that click is what took the focus from it.
inline constexpr std::chrono::milliseconds kTrayClickAfterHide{400};

// Whether a left click on the icon hides the popup (otherwise it shows it).
bool tray_click_hides(bool popup_shown,
                      std::optional<std::chrono::steady_clock::duration> since_last_hide);

}  // namespace talvo
