// The system's own text for a Win32 error code.
#pragma once

#include <windows.h>

#include <string>

namespace talvo::win {

std::string system_error_text(DWORD code);

}  // namespace talvo::win
