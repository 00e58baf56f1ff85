// The elevation of this setup and of another process, read from their tokens.
#pragma once

#include <windows.h>

#include "setup/core/launcher_processes.h"

namespace talvo::setup::win {

Elevation own_elevation();
// Unknown when the process cannot be opened or its token read.
Elevation process_elevation(DWORD process_id);

}  // namespace talvo::setup::win
