// Settings of the Wine the program runs under, applied before any test.
#include <gtest/gtest.h>

#include <windows.h>

namespace talvo::e2e {
namespace {

bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The virtual display has no window manager: Wine would wait two seconds for
// one each time an active window is hidden. Unmanaged windows hide at once.
class WineWithoutWindowManager : public ::testing::Environment {
  public:
    void SetUp() override {
        if (!running_under_wine()) {
            return;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const wchar_t value[] = L"N";
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       sizeof value);
        RegCloseKey(key);
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new WineWithoutWindowManager);

}  // namespace
}  // namespace talvo::e2e
