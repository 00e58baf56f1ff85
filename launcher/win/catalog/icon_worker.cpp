#include "win/catalog/icon_worker.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <vector>

#include "core/catalog/icon_pixels.h"
#include "win/platform/text_win.h"

namespace talvo::win {
namespace {

// A top-down 32-bit header of the given size.
BITMAPINFO top_down_header(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

unique_hbitmap shell_image(const std::string& icon_source, std::int32_t size) {
    ComPtr<IShellItem> item;
    if (FAILED(SHCreateItemFromParsingName(widen(icon_source).c_str(), nullptr,
                                           IID_PPV_ARGS(item.put())))) {
        return {};
    }
    ComPtr<IShellItemImageFactory> factory = item.query<IShellItemImageFactory>();
    HBITMAP bitmap = nullptr;
    if (!factory || FAILED(factory->GetImage(SIZE{size, size}, SIIGBF_ICONONLY, &bitmap))) {
        return {};
    }
    return unique_hbitmap(bitmap);
}

// Makes a section of our own from the shell's bitmap, with its alpha fixed.
// A bitmap that cannot be read back is a failed load: copying unread pixels
// would draw an opaque black square instead of the letter tile.
IconSlot premultiplied_copy(unique_hbitmap shell_bitmap) {
    BITMAP described{};
    if (!GetObjectW(shell_bitmap.get(), sizeof described, &described)) {
        return {};
    }
    const std::int32_t width = described.bmWidth;
    const std::int32_t height = described.bmHeight < 0 ? -described.bmHeight : described.bmHeight;
    if (!is_usable_icon_image(width, height)) {
        return {};
    }
    std::optional<std::vector<std::uint8_t>> pixels =
        read_icon_pixels(shell_bitmap.get(), width, height);
    shell_bitmap.reset();
    if (!pixels) {
        return {};
    }
    prepare_icon_pixels(*pixels);

    void* bits = nullptr;
    BITMAPINFO header = top_down_header(width, height);
    unique_hbitmap section(CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || bits == nullptr) {
        return {};
    }
    std::memcpy(bits, pixels->data(), pixels->size());
    return IconSlot{std::move(section), width, height};
}

}  // namespace

std::optional<std::vector<std::uint8_t>> read_icon_pixels(HBITMAP bitmap, std::int32_t width,
                                                          std::int32_t height) {
    const unique_hdc dc(CreateCompatibleDC(nullptr));
    if (!dc) {
        return std::nullopt;
    }
    BITMAPINFO header = top_down_header(width, height);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    const int lines = GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                &header, DIB_RGB_COLORS);
    if (lines != height) {
        return std::nullopt;
    }
    return pixels;
}

IconSlot load_icon(const std::string& icon_source, std::int32_t size) {
    unique_hbitmap image = shell_image(icon_source, size);
    if (!image) {
        return {};
    }
    return premultiplied_copy(std::move(image));
}

void icon_worker(Receiver<IconRequest> requests, Sender<IconResult> results, HWND hwnd,
                 UINT message) {
    const ComApartment apartment;
    while (std::optional<IconRequest> request = requests.receive()) {
        IconResult result{request->key, load_icon(request->icon_source, request->size)};
        if (!results.send(std::move(result))) {
            return;
        }
        PostMessageW(hwnd, message, 0, 0);
    }
}

}  // namespace talvo::win
