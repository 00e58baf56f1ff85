// Painting of the popup: the whole window is drawn off screen and copied in
// one BitBlt, so nothing flickers and the background is never erased apart.
#pragma once

#include <windows.h>

namespace talvo::win {

void paint_popup(HWND hwnd);

}  // namespace talvo::win
