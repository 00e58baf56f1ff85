// The icon worker: one thread for the life of the process that turns icon
// requests into premultiplied bitmaps, so the UI thread never waits for the shell.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "win/shell/app_state.h"

namespace talvo::win {

// The thread's body: serves requests in order until the request channel
// closes or the UI side is gone; posts `message` to `hwnd` after each result.
void icon_worker(Receiver<IconRequest> requests, Sender<IconResult> results, HWND hwnd,
                 UINT message);

// A bitmap's pixels as top-down 32-bit B, G, R, A rows, or nothing when they
// cannot be read back whole.
std::optional<std::vector<std::uint8_t>> read_icon_pixels(HBITMAP bitmap, std::int32_t width,
                                                          std::int32_t height);

// The icon of a parsing name at `size` pixels, or an empty slot on any failure.
IconSlot load_icon(const std::string& icon_source, std::int32_t size);

}  // namespace talvo::win
