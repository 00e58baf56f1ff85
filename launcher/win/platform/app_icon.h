// The application's own icon (icon group 1 of the executable) at a size, or
// the system's shared application icon when it cannot be loaded.
#pragma once

#include <windows.h>

#include "win/platform/unique_resource.h"

namespace talvo::win {

struct AppIcon {
    unique_hicon loaded;  // empty for the system's shared icon, which is never destroyed
    HICON handle = nullptr;
};

AppIcon load_app_icon(int size);

}  // namespace talvo::win
