// What a key press does in the popup, from the key, the modifiers held and the
// rows: the window procedure reads the key states and carries out the effect.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/launch/launch.h"

namespace talvo {

// The Windows virtual-key codes the popup answers.
namespace vk {
inline constexpr std::uint32_t kTab = 0x09;
inline constexpr std::uint32_t kReturn = 0x0D;
inline constexpr std::uint32_t kEscape = 0x1B;
inline constexpr std::uint32_t kUp = 0x26;
inline constexpr std::uint32_t kDown = 0x28;
inline constexpr std::uint32_t kDelete = 0x2E;
inline constexpr std::uint32_t kDigit1 = 0x31;
inline constexpr std::uint32_t kDigit9 = 0x39;
}  // namespace vk

struct KeyPress {
    std::uint32_t virtual_key = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

struct KeyEffect {
    enum class Kind : std::uint8_t {
        None,
        Repaint,      // nothing changes but the caret shows again
        Complete,     // Tab: the query becomes the selected row's name
        Choose,       // launch `row` in `mode`
        Hide,         // Escape
        Select,       // the selection moves to `row`
        HideEntry,    // Ctrl+Delete: hide the entry of `row`
        ForgetEntry,  // Ctrl+Shift+Delete: forget what was learnt of the entry of `row`
    };

    Kind kind = Kind::None;
    std::size_t row = 0;
    LaunchMode mode = LaunchMode::Normal;

    bool operator==(const KeyEffect&) const = default;
};

// The effect of a key on the popup. Windows reports AltGr, which types
// characters on European keyboards, as Ctrl + Alt: Ctrl counts only while Alt
// is not held, so AltGr+3 types its character instead of choosing row 3.
// A popup that is not shown answers no key.
KeyEffect popup_key_effect(const KeyPress& key, bool shown, std::size_t rows, std::size_t selected);

}  // namespace talvo
