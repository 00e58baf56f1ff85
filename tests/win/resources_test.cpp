// Resources of talvo.exe and Talvo-Setup.exe, read back from the built files:
// the version block in French (Canada), the application icon, group 1, and
// the setup's manifest; and the libraries the setup imports.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

constexpr int kIconGroup = 1;
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// Opens an executable for its resources only: nothing of it runs.
unique_module open_as_data(const std::wstring& path) {
    return unique_module(LoadLibraryExW(path.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::vector<std::uint8_t> resource_bytes(HMODULE module, int id, LPCWSTR type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (data == nullptr) {
        return {};
    }
    return std::vector<std::uint8_t>(data, data + SizeofResource(module, found));
}

std::uint16_t read_le16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read_le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return read_le16(bytes, at) | static_cast<std::uint32_t>(read_le16(bytes, at + 2)) << 16;
}

std::uint32_t read_be32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 |
           bytes[at + 3];
}

// One image of an icon group as the group lists it, and what its own resource holds.
struct IconImage {
    int listed_side = 0;  // the group's width byte, 0 meaning 256
    int listed_height = 0;
    int bit_count = 0;
    bool listed_size_matches = false;  // the group's byte count equals the image resource's
    bool is_png = false;
    std::uint32_t png_width = 0;
    std::uint32_t png_height = 0;
};

// Reads the group directory (6-byte header, then 14 bytes per image) and each image it names.
std::optional<std::vector<IconImage>> read_icon_group(HMODULE module, int id) {
    const std::vector<std::uint8_t> group = resource_bytes(module, id, RT_GROUP_ICON);
    if (group.size() < 6 || read_le16(group, 0) != 0 || read_le16(group, 2) != 1) {
        return std::nullopt;
    }
    const std::size_t count = read_le16(group, 4);
    if (group.size() < 6 + 14 * count) {
        return std::nullopt;
    }
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 14 * i;
        IconImage image;
        image.listed_side = group[at] == 0 ? 256 : group[at];
        image.listed_height = group[at + 1] == 0 ? 256 : group[at + 1];
        image.bit_count = read_le16(group, at + 6);
        const std::vector<std::uint8_t> data =
            resource_bytes(module, read_le16(group, at + 12), RT_ICON);
        image.listed_size_matches = !data.empty() && read_le32(group, at + 8) == data.size();
        static constexpr std::uint8_t kPngStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
        image.is_png = data.size() >= 24 && std::memcmp(data.data(), kPngStart, 16) == 0;
        if (image.is_png) {
            image.png_width = read_be32(data, 16);
            image.png_height = read_be32(data, 20);
        }
        images.push_back(image);
    }
    return images;
}

std::vector<std::uint8_t> read_version_block(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<std::uint8_t> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        return {};
    }
    return block;
}

std::optional<std::wstring> version_string(std::vector<std::uint8_t>& block, const wchar_t* name) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\0C0C04B0\\") + name;
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr) {
        return std::nullopt;
    }
    return std::wstring(text);
}

struct Program {
    const char* name;  // names the test case
    const char* path;
    const wchar_t* file_description;
    const wchar_t* internal_name;
    const wchar_t* original_filename;
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.name;
}

const Program kPrograms[] = {
    {"talvo", TALVO_EXE_PATH, L"Talvo, lanceur d'applications", L"talvo", L"talvo.exe"},
    {"setup", TALVO_SETUP_EXE_PATH, L"Installateur de Talvo", L"Talvo-Setup", L"Talvo-Setup.exe"},
};

// Both programs are built with this one: a missing file is a failure.
class ProgramResources : public testing::TestWithParam<Program> {
  protected:
    void SetUp() override {
        path_ = widen(GetParam().path);
        ASSERT_NE(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES)
            << GetParam().name << " is missing: '" << GetParam().path << "'";
    }

    std::wstring path_;
};

TEST_P(ProgramResources, VersionStringsAreInFrenchCanadaBlock) {
    std::vector<std::uint8_t> block = read_version_block(path_);
    ASSERT_FALSE(block.empty());
    const Program& program = GetParam();
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {L"CompanyName", L"Quenlor"},
        {L"FileDescription", program.file_description},
        {L"FileVersion", L"0.1.0"},
        {L"InternalName", program.internal_name},
        {L"OriginalFilename", program.original_filename},
        {L"ProductName", L"Talvo"},
        {L"ProductVersion", L"0.1.0"},
    };
    for (const auto& field : expected) {
        EXPECT_EQ(version_string(block, field.name), std::optional<std::wstring>(field.value))
            << narrow(field.name);
    }
}

TEST_P(ProgramResources, FixedVersionIs0100AndTranslationIsFrenchCanadaUnicode) {
    std::vector<std::uint8_t> block = read_version_block(path_);
    ASSERT_FALSE(block.empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u);  // 0.1
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);  // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);

    WORD* pairs = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pairs), &length));
    ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one language";
    EXPECT_EQ(pairs[0], 0x0C0C);
    EXPECT_EQ(pairs[1], 1200);
}

TEST_P(ProgramResources, IconGroupOneHoldsThe32BitPngSizes) {
    const unique_module module = open_as_data(path_);
    ASSERT_TRUE(module);
    const std::optional<std::vector<IconImage>> images = read_icon_group(module.get(), kIconGroup);
    ASSERT_TRUE(images.has_value());

    std::vector<int> sides;
    for (const IconImage& image : *images) {
        sides.push_back(image.listed_side);
        EXPECT_EQ(image.listed_height, image.listed_side);
        EXPECT_EQ(image.bit_count, 32) << image.listed_side;
        EXPECT_TRUE(image.listed_size_matches) << image.listed_side;
        ASSERT_TRUE(image.is_png) << image.listed_side;
        EXPECT_EQ(image.png_width, static_cast<std::uint32_t>(image.listed_side));
        EXPECT_EQ(image.png_height, static_cast<std::uint32_t>(image.listed_side));
    }
    EXPECT_EQ(sides, std::vector<int>(std::begin(kIconSizes), std::end(kIconSizes)));
}

// Draws an icon at its own size on black and returns the pixels as 0xRRGGBB, top row first.
std::vector<std::uint32_t> draw_on_black(HICON icon, int side) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const unique_hdc dc(CreateCompatibleDC(nullptr));
    const unique_hbitmap bitmap(
        CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap) {
        return {};
    }
    const SelectObjectScope select(dc.get(), bitmap.get());
    std::memset(bits, 0, static_cast<std::size_t>(side) * side * 4);
    if (!DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL)) {
        return {};
    }
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> rgb(pixels, pixels + side * side);
    for (std::uint32_t& p : rgb) {
        p &= 0xFFFFFF;  // a DIB section holds B, G, R, unused: 0xRRGGBB read as a number
    }
    return rgb;
}

// What the notification area asks for: the small icon, loaded by resource number.
TEST_P(ProgramResources, SmallIconShowsWhiteTOnTealSquare) {
    constexpr int kSide = 16;
    const unique_module module = open_as_data(path_);
    ASSERT_TRUE(module);
    HICON icon = static_cast<HICON>(
        LoadImageW(module.get(), MAKEINTRESOURCEW(kIconGroup), IMAGE_ICON, kSide, kSide, 0));
    ASSERT_NE(icon, nullptr);
    const std::vector<std::uint32_t> pixels = draw_on_black(icon, kSide);
    DestroyIcon(icon);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kSide * kSide));

    const auto at = [&](int x, int y) {
        char text[8];
        std::snprintf(text, sizeof(text), "#%06X",
                      static_cast<unsigned>(pixels[static_cast<std::size_t>(y * kSide + x)]));
        return std::string(text);
    };
    EXPECT_EQ(at(0, 0), "#000000") << "transparent corner";
    EXPECT_EQ(at(0, 8), "#000000") << "transparent margin";
    EXPECT_EQ(at(3, 12), "#357F87") << "tile";
    EXPECT_EQ(at(8, 10), "#FFFFFF") << "stem of the T";
    EXPECT_EQ(at(5, 4), "#FFFFFF") << "left end of the bar";
}

std::string manifest_of(const std::wstring& path) {
    const unique_module module = open_as_data(path);
    const std::vector<std::uint8_t> bytes =
        module ? resource_bytes(module.get(), 1, RT_MANIFEST) : std::vector<std::uint8_t>{};
    return std::string(bytes.begin(), bytes.end());
}

// The launcher keeps none: its start-up sets its DPI awareness itself.
TEST(ProgramManifest, SetupRunsAsInvokerOnWindows10ThemedAndPerMonitorAware) {
    const std::string manifest = manifest_of(widen(TALVO_SETUP_EXE_PATH));
    for (const char* part : {
             "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "publicKeyToken=\"6595b64144ccf1df\"",
             "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
             "PerMonitorV2</dpiAwareness>",
         }) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(manifest_of(widen(TALVO_EXE_PATH)), "");
}

// The names of the libraries in a PE file's import directory, in lower case.
std::set<std::string> imported_libraries(const std::wstring& path) {
    const unique_module module = open_as_data(path);
    if (!module) {
        return {};
    }
    // Mapped as an image (flag bits in the low end of the handle): addresses are offsets.
    const auto* base =
        reinterpret_cast<const std::uint8_t*>(reinterpret_cast<std::uintptr_t>(module.get()) & ~3u);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::string> names;
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        for (char& c : name) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        names.insert(name);
    }
    return names;
}

// A library the setup names in its import table is looked for beside the
// setup first, in the download folder, unless Windows always takes it from
// System32; everything else is loaded by name after the search is limited.
TEST(ProgramImports, SetupImportsOnlyLibrariesWindowsLoadsFromSystem32) {
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll",  "advapi32.dll",
                                           "ole32.dll",    "shell32.dll", "msvcrt.dll"};
    const std::set<std::string> imported = imported_libraries(widen(TALVO_SETUP_EXE_PATH));
    ASSERT_FALSE(imported.empty());
    for (const std::string& name : imported) {
        EXPECT_TRUE(allowed.count(name) != 0) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Executables, ProgramResources, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace talvo::win
