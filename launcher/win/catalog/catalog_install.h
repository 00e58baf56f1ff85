// Installing catalogues in the UI state, starting scans, and moving icons
// between the UI state and the icon worker.
#pragma once

#include "win/shell/app_state.h"

namespace talvo::win {

// Replaces the catalogue, rebuilds the key and match indexes and requests missing icons.
void install_catalog(AppState& state, Catalog catalog);

// Fresh built-in entries (reading the start-with-Windows setting again)
// followed by every scanned entry, installed.
void rebuild_builtins(AppState& state);

// Queues a request for every entry with an icon source whose key is not cached yet.
void request_icons(AppState& state);

// Moves every waiting icon result into the cache (old bitmaps are deleted).
void store_icon_results(AppState& state);

// Starts a scan thread unless one is running.
void start_scan(AppState& state);

// The newest scanned catalogue waiting on the channel, if any (older ones are dropped).
std::optional<Catalog> take_newest_catalog(AppState& state);

}  // namespace talvo::win
