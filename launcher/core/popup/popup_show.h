// How a show of the popup ends. The system may refuse the launcher the
// foreground (SetForegroundWindow has conditions that do not always hold); a
// topmost popup without the keyboard would then never hear WA_INACTIVE and
// stay above every window, so it hides again and the next Alt+Space tries afresh.
#pragma once

#include <cstdint>
#include <string_view>

namespace talvo {

inline constexpr std::string_view kForegroundRefusedLog = "premier plan refusé : Talvo masqué";

enum class ShowOutcome : std::uint8_t {
    Shown,
    HiddenAgain,  // and kForegroundRefusedLog goes to the log
};

constexpr ShowOutcome show_outcome(bool popup_has_foreground) {
    return popup_has_foreground ? ShowOutcome::Shown : ShowOutcome::HiddenAgain;
}

}  // namespace talvo
