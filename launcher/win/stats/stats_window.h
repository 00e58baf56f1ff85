// The statistics window ("TalvoStats"): one at most, drawn from a StatsModel
// of the launch records, scrollable, with hover on the chart bars.
#pragma once

#include <windows.h>

namespace talvo::win {

// Opens the statistics window, or gives the open one fresh figures, restores
// it when minimised and brings it forward. Nothing when the UI state is busy.
void open_stats_window();

// Fresh figures for an open window, keeping its hover and scroll; nothing
// when the window is closed or a state is busy.
void refresh_stats_window();

// Repaints an open window whose state is free (new icons arrived).
void repaint_stats_window();

// The open window, or null.
HWND stats_window();

}  // namespace talvo::win
