#include "win/stats/stats_window.h"

namespace talvo::win {

// The statistics window is not part of the launcher yet: choosing the
// command records the launch and hides the popup, and nothing else happens.
void open_stats_window() {}

void refresh_stats_window() {}

}  // namespace talvo::win
