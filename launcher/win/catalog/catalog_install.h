// Installing catalogues, starting scans, and moving icons between the UI
// thread and the icon worker.
#pragma once

#include <optional>

#include "win/shell/app_state.h"

namespace talvo::win {

// Replaces the catalogue (the visible catalogue keeps its indexes) and
// requests the icons it misses, at the size for `scale`.
void install_catalog(VisibleCatalog& visible, IconStore& icons, float scale, Catalog catalog);

// Fresh built-in entries (reading the start-with-Windows setting again)
// followed by every scanned entry, installed.
void rebuild_builtins(VisibleCatalog& visible, IconStore& icons, float scale);

// Queues a request for every entry with an icon source whose key is not cached yet.
void request_icons(const VisibleCatalog& visible, IconStore& icons, float scale);

// Moves every waiting icon result into the cache (old bitmaps are deleted).
void store_icon_results(IconStore& icons);

// Starts a scan thread unless one is running; it posts the catalogue-ready
// message to `hwnd` once its catalogue is on the channel.
void start_scan(CatalogFeed& feed, HWND hwnd);

// The newest scanned catalogue waiting on the channel, if any (older ones are dropped).
std::optional<Catalog> take_newest_catalog(CatalogFeed& feed);

}  // namespace talvo::win
