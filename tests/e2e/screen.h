// What is on the screen: pixels, window rectangles, and captures saved as BMP.
#pragma once

#include <windows.h>

#include <string>

namespace talvo::e2e {

// The colour on screen at a point, as a COLORREF (0x00BBGGRR).
COLORREF screen_pixel(POINT screen);
RECT window_rect(HWND hwnd);
int window_height(HWND hwnd);

// Saves a rectangle of the screen as a 24-bit BMP file; false on failure.
bool save_screen_bmp(const RECT& area, const std::wstring& path);

}  // namespace talvo::e2e
