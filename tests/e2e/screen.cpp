#include "screen.h"

#include <cstdio>
#include <vector>

namespace talvo::e2e {
namespace {

class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// The pixels of a rectangle of the screen, bottom-up rows of 24-bit BGR padded to 4 bytes.
std::vector<unsigned char> capture(const RECT& area, BITMAPINFOHEADER& header) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const ScreenDc screen;
    HDC memory = CreateCompatibleDC(screen.get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    header = BITMAPINFOHEADER{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> pixels(stride * static_cast<std::size_t>(height));
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (rows != height) {
        pixels.clear();
    }
    return pixels;
}

}  // namespace

COLORREF screen_pixel(POINT screen) {
    const ScreenDc dc;
    return GetPixel(dc.get(), screen.x, screen.y);
}

RECT window_rect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

int window_height(HWND hwnd) {
    const RECT rect = window_rect(hwnd);
    return rect.bottom - rect.top;
}

bool save_screen_bmp(const RECT& area, const std::wstring& path) {
    if (area.right <= area.left || area.bottom <= area.top) {
        return false;
    }
    BITMAPINFOHEADER header{};
    const std::vector<unsigned char> pixels = capture(area, header);
    if (pixels.empty()) {
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        return false;
    }
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1;
    written = written && std::fwrite(&header, sizeof header, 1, out) == 1;
    written = written && std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

}  // namespace talvo::e2e
