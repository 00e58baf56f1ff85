// Starting with Windows: reading and switching the Run value "Talvo".
#pragma once

#include "win/shell/app_state.h"

namespace talvo::win {

// Whether a string value "Talvo" exists under the user's Run key (its data is
// not compared with this program's path).
bool autostart_enabled();

// Deletes the value, or writes it for this program; then, when the catalogue
// is free, rebuilds the built-in entries so the command's text follows the
// registry. Registry failures are silent: the next read shows what happened.
void toggle_autostart(UiState& ui);

}  // namespace talvo::win
