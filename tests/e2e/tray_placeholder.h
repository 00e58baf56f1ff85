// The Wine tray window, kept out of the way of the other tests' focus.
#pragma once

namespace talvo::e2e {

// Restores or minimises the "Wine System Tray" window and lets the focus settle.
void set_tray_window_shown(bool shown);

}  // namespace talvo::e2e
