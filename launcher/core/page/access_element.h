// What a screen reader is told about one element of a window: its role, its
// texts, its states and its place in the window's client pixels. The Win32
// layer hands these to accessibility clients as they are.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/page/geometry.h"

namespace talvo::access {

enum class Role : std::uint8_t { Dialog, Text, List, ListItem, Document, StaticText };

// State flags of an element.
inline constexpr std::uint32_t kFocusable = 1u << 0;
inline constexpr std::uint32_t kFocused = 1u << 1;
inline constexpr std::uint32_t kSelectable = 1u << 2;
inline constexpr std::uint32_t kSelected = 1u << 3;
inline constexpr std::uint32_t kReadOnly = 1u << 4;
inline constexpr std::uint32_t kInvisible = 1u << 5;

struct Element {
    Role role = Role::StaticText;
    std::string name;
    std::string value;
    std::string description;
    std::string shortcut;
    std::string default_action;
    std::uint32_t states = 0;
    layout::Rect rect;  // client pixels

    bool operator==(const Element&) const = default;
};

inline Element make_element(Role role, std::string name) {
    Element element;
    element.role = role;
    element.name = std::move(name);
    return element;
}

}  // namespace talvo::access
