// The lines of the diagnostic mode (--diag-focus), which lists in the log the
// windows the launcher would consider and the entries whose window it finds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// "0x" and lower-case hexadecimal digits without leading zeros ("0x0" for 0).
std::string format_window_handle(std::uintptr_t handle);

// None, or Some("...") with backslashes and double quotes escaped by a backslash.
std::string format_optional_text(const std::optional<std::string>& text);

struct SwitchableWindowFacts {
    std::uintptr_t handle = 0;
    std::string class_name;
    std::string title;
    std::optional<std::string> app_id;
    std::optional<std::string> process_path;
};

// "diag-focus fenêtre : 0x1a2b [Notepad] « Sans titre » aumid=None exe=Some("C:\\...")"
std::string switchable_window_line(const SwitchableWindowFacts& window);

struct FrameWindowFacts {
    std::uintptr_t handle = 0;
    std::string title;
    bool visible = false;
    std::uint32_t cloaked = 0;
    bool owned = false;
    bool tool_window = false;
    std::optional<std::string> app_id;
};

// "diag-focus fenêtre : UWP 0x... « title » visible=true cloaked=0 owner=false toolwindow=false
// aumid=None"
std::string frame_window_line(const FrameWindowFacts& window);

// "diag-focus : VLC media player (app:...) → fenêtre 0x..."
std::string found_window_line(std::string_view name, std::string_view key, std::uintptr_t handle);

inline constexpr std::string_view kDiagFocusDone = "diag-focus : terminé";

}  // namespace talvo
