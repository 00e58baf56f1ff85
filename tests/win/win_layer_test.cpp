// Pieces of the Win32 layer that work without a display: the scan under
// Wine, icon loading, fonts, and the owners of handles.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/shell/platform.h"
#include "win/catalog/catalog_scan.h"
#include "win/catalog/icon_worker.h"
#include "win/page/drawing.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

TEST(CatalogScan, BuiltinEntriesAlwaysOpenTheCatalogue) {
    const Catalog catalog = scan_catalog();
    ASSERT_GE(catalog.size(), 11u);
    EXPECT_EQ(catalog.front().key, "dir:explorer");
    EXPECT_EQ(catalog[10].key, "cmd:quit");
}

bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(IconLoading, AMissingFileGivesNoBitmap) {
    const ComApartment apartment;
    EXPECT_FALSE(load_icon("C:\\nowhere\\deleted.exe", 36).has_bitmap());
}

// On Windows the program's own icon comes back as a premultiplied 32-bit section.
TEST(IconLoading, AProgramsIconIsA32BitSection) {
    if (running_under_wine()) {
        GTEST_SKIP() << "Wine's shell answers every image request with 1 x 1 pixels";
    }
    const ComApartment apartment;
    const std::string program = system_platform().system.executable_path().value_or("");
    const IconSlot icon = load_icon(program, 36);
    ASSERT_TRUE(icon.has_bitmap());
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(icon.bitmap.get(), sizeof section, &section), sizeof section);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(section.dsBm.bmWidth, icon.width);
    EXPECT_GE(icon.width, 2);
}

// An unreadable bitmap must give no pixels (the row keeps its letter tile),
// never a buffer of zeros that would draw as an opaque black square.
TEST(IconLoading, PixelsAreReadBackWholeOrNotAtAll) {
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    unique_hbitmap bitmap(CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bitmap);
    for (std::uint8_t i = 0; i < 24; ++i) {
        static_cast<std::uint8_t*>(bits)[i] = static_cast<std::uint8_t>(i + 1);
    }
    const std::optional<std::vector<std::uint8_t>> whole = read_icon_pixels(bitmap.get(), 3, 2);
    ASSERT_TRUE(whole);
    EXPECT_EQ((*whole)[0], 1);
    EXPECT_EQ((*whole)[23], 24);
    EXPECT_FALSE(read_icon_pixels(bitmap.get(), 3, 5)) << "more rows than the bitmap has";
    const HBITMAP stale = bitmap.get();
    bitmap.reset();
    EXPECT_FALSE(read_icon_pixels(stale, 3, 2)) << "a deleted bitmap";
}

TEST(Fonts, HeightsFollowTheScale) {
    const PopupFonts fonts = create_popup_fonts(1.5f);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(fonts[1].get(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -29);  // 19 x 1.5 = 28.5, halves away from zero
    EXPECT_EQ(font.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_STREQ(font.lfFaceName, L"Segoe UI");
}

TEST(UniqueResource, MovesOwnershipAndReleasesOnce) {
    unique_hbrush first(CreateSolidBrush(RGB(1, 2, 3)));
    const HBRUSH raw = first.get();
    unique_hbrush second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    second.reset();
    EXPECT_EQ(GetObjectType(raw), 0u);  // deleted
    unique_file none;
    EXPECT_FALSE(none);
}

}  // namespace
}  // namespace talvo::win
