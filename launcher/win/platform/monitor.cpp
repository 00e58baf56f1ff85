#include "win/platform/monitor.h"

#include <shellscalingapi.h>

namespace talvo::win {

PointerMonitor monitor_under_pointer() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        point = POINT{0, 0};
    }
    const HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    UINT dpi_x = 96;
    UINT dpi_y = 96;
    if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y))) {
        dpi_x = 96;
    }
    return {info.rcWork, dpi_x};
}

}  // namespace talvo::win
