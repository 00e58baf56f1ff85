// Making the launcher forget, as the person asks it: one entry's launches
// (Ctrl+Shift+Delete in the popup) or, after a question, the whole history
// (the notification-area menu). A rewrite that fails is told in a warning box.
#pragma once

#include <string_view>

#include "win/shell/app_state.h"

namespace talvo::win {

// Forgets the launches of `key`; true when the memory changed. Call with the
// learning memory released: a failure shows a box.
bool forget_entry_launches(UiState& ui, std::string_view key);

// Asks the person first; true when the history was cleared. Call with the
// state released: the boxes run message loops.
bool clear_history_after_asking(UiState& ui);

}  // namespace talvo::win
