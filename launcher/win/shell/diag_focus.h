// The diagnostic mode (--diag-focus): lists in the log the windows the
// launcher would consider and, after a scan, every entry whose window it
// finds. No window, no single-instance check, no message loop.
#pragma once

#include "core/shell/platform.h"

namespace talvo::win {

void run_diag_focus(const Platform& platform);

}  // namespace talvo::win
