// The statistics window.
#pragma once

namespace talvo::win {

// Opens the statistics window, or brings the open one forward.
void open_stats_window();

// Recomputes and repaints the statistics window when it is open.
void refresh_stats_window();

}  // namespace talvo::win
