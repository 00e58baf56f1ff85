// Making the launcher forget what it learnt: the launches of one entry, or all
// of them. The history file is filtered line by line rather than written back
// from memory, so lines the launcher cannot read, and launches recorded by
// another copy since the start, are kept exactly as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/matching/learning_memory.h"
#include "core/shell/platform.h"

namespace talvo {

// The history text without the lines that parse as launches of `key`; every
// other line, malformed ones included, stays byte for byte and in order.
struct FilteredHistory {
    std::string text;
    std::size_t removed = 0;
};
FilteredHistory without_launches_of(std::string_view text, std::string_view key);

// What a forget did: how many launches went, and the rewrite's outcome. On a
// failure the file and the memory stay as they were.
struct ForgetOutcome {
    std::size_t launches = 0;
    WriteResult written;
};

// Removes the launches of `key` from the history file (atomically), reloads
// the memory from the file and rebuilds its tables, and logs it.
ForgetOutcome forget_entry(LearningMemory& memory, std::string_view key, const Platform& platform);

// Empties the history file (atomically), empties the memory and logs it.
ForgetOutcome forget_everything(LearningMemory& memory, const Platform& platform);

// "oublié : {key} (1 lancement)", "(n lancements)" otherwise.
std::string forgotten_log(std::string_view key, std::size_t launches);
// "historique effacé (1 lancement)", "(n lancements)" otherwise.
std::string history_cleared_log(std::size_t launches);

// The question of the notification-area menu's "Effacer l'historique…".
inline constexpr std::string_view kClearHistoryQuestion =
    "Effacer tout ce que Talvo a appris (tes habitudes de lancement) ? Ses suggestions "
    "repartiront de zéro.";
// The warning when a rewrite failed: this, then the system's message.
std::string forget_failure_text(std::string_view system_message);

}  // namespace talvo
