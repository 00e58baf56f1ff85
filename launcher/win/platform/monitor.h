// The monitor under the mouse pointer, where the launcher's windows open.
#pragma once

#include <windows.h>

namespace talvo::win {

struct PointerMonitor {
    RECT work_area{};  // the monitor less the taskbar
    UINT dpi = 96;     // effective DPI; 96 when the system cannot tell

    // Drawing scale: 1 at 96 DPI.
    float scale() const { return static_cast<float>(dpi) / 96.0f; }
};

// The monitor nearest the pointer (nearest (0, 0) when the pointer is unknown).
PointerMonitor monitor_under_pointer();

}  // namespace talvo::win
