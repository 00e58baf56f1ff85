// The Desktop Window Manager's window attributes that the launcher's windows
// set or read, by number: older headers of the toolchain lack the newer ones.
#pragma once

#include <windows.h>

#include <dwmapi.h>

#include <cstdint>

namespace talvo::win::dwm {

inline constexpr DWORD kCloaked = 14;                 // DWMWA_CLOAKED
inline constexpr DWORD kUseImmersiveDarkMode = 20;    // DWMWA_USE_IMMERSIVE_DARK_MODE
inline constexpr DWORD kWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
inline constexpr DWORD kBorderColor = 34;             // DWMWA_BORDER_COLOR
inline constexpr DWORD kCornerRound = 2;              // DWMWCP_ROUND

// Sets a 4-byte attribute; a system without it refuses, which changes nothing.
inline void set_attribute(HWND hwnd, DWORD attribute, DWORD value) {
    DwmSetWindowAttribute(hwnd, attribute, &value, sizeof value);
}

// 0xRRGGBB as the COLORREF that kBorderColor takes.
constexpr DWORD border_colour(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

}  // namespace talvo::win::dwm
