// How other processes speak to a running launcher: the setup, which asks it
// to quit before replacing it and starts the new one hidden, and a second
// start, which finds the first by its window and asks it to show. Launchers
// and setups of other versions rely on these: renumbering a message or
// renaming the window class would break an upgrade in either direction.
#pragma once

#include <cstdint>
#include <string_view>

namespace talvo::protocol {

// The popup window's class: found with FindWindowW, enumerated by the setup.
inline constexpr wchar_t kWindowClass[] = L"TalvoWindow";
// The statistics window's class.
inline constexpr wchar_t kStatsWindowClass[] = L"TalvoStats";
// Held by the running launcher: a second start sees it and hands over.
inline constexpr wchar_t kSingleInstanceMutex[] = L"Local\\TalvoApp.Singleton";

// Messages posted to the popup window by other processes (WM_APP is 0x8000).
inline constexpr std::uint32_t kAppMessageBase = 0x8000;
inline constexpr std::uint32_t kShowRequestMessage = kAppMessageBase + 3;  // a second start
inline constexpr std::uint32_t kQuitRequestMessage = kAppMessageBase + 5;  // the setup

// The switch the setup and the Run value start the launcher with: no popup
// until Alt+Space.
inline constexpr std::string_view kHiddenSwitch = "--hidden";
inline constexpr wchar_t kHiddenSwitchWide[] = L"--hidden";

}  // namespace talvo::protocol
