#include "win/platform/app_icon.h"

namespace talvo::win {
namespace {

constexpr int kAppIconGroup = 1;

}  // namespace

AppIcon load_app_icon(int size) {
    if (const HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconGroup),
                                       IMAGE_ICON, size, size, 0)) {
        const auto handle = static_cast<HICON>(icon);
        return {unique_hicon(handle), handle};
    }
    return {unique_hicon(), LoadIconW(nullptr, IDI_APPLICATION)};
}

}  // namespace talvo::win
