// Pieces of the Win32 layer that work without a display: the scan under
// Wine, icon loading, fonts, and the owners of handles.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/shell/platform.h"
#include "win/catalog/catalog_scan.h"
#include "win/catalog/icon_worker.h"
#include "win/platform/unique_resource.h"
#include "win/popup/drawing.h"

namespace talvo::win {
namespace {

TEST(CatalogScan, BuiltinEntriesAlwaysOpenTheCatalogue) {
    const Catalog catalog = scan_catalog();
    ASSERT_GE(catalog.size(), 11u);
    EXPECT_EQ(catalog.front().key, "dir:explorer");
    EXPECT_EQ(catalog[10].key, "cmd:quit");
}

TEST(IconLoading, AMissingFileGivesNoBitmapAndAnIconIsPremultiplied32Bit) {
    const ComApartment apartment;
    EXPECT_FALSE(load_icon("C:\\nowhere\\deleted.exe", 36).has_bitmap());
    // Wine's shell answers with 1 x 1 images, which count as no icon; on
    // Windows the program's own icon comes back as a 32-bit section.
    const std::string program = system_platform().system.executable_path().value_or("");
    const IconSlot icon = load_icon(program, 36);
    if (icon.has_bitmap()) {
        DIBSECTION section{};
        ASSERT_EQ(GetObjectW(icon.bitmap.get(), sizeof section, &section), sizeof section);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(section.dsBm.bmWidth, icon.width);
        EXPECT_GE(icon.width, 2);
    }
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
