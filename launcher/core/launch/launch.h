// What the popup hands on when the user picks an entry.
#pragma once

#include <cstdint>
#include <optional>

#include "core/catalog/catalog.h"

namespace talvo {

enum class LaunchMode : std::uint8_t {
    Normal = 0,        // Enter, click, Ctrl+digit: bring an open window forward or start
    NewInstance = 1,   // Shift+Enter: always start
    ShowInFolder = 2,  // Ctrl+Enter: show the entry's file in Explorer
};

// A copy of the chosen entry and how to launch it.
struct LaunchRequest {
    CatalogEntry entry;
    LaunchMode mode = LaunchMode::Normal;
};

// Outcome of a key press or click, carried out after the UI state is released.
struct PopupAction {
    enum class Kind : std::uint8_t { None, Hide, Launch };

    Kind kind = Kind::None;
    std::optional<LaunchRequest> request;  // Kind::Launch only

    static PopupAction none() { return {}; }
    static PopupAction hide() { return {Kind::Hide, std::nullopt}; }
    static PopupAction launch(LaunchRequest r) { return {Kind::Launch, std::move(r)}; }
};

}  // namespace talvo
