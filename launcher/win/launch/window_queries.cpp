#include "win/launch/window_queries.h"

#include <dwmapi.h>
#include <exdisp.h>
#include <oleauto.h>
#include <propkey.h>
#include <propsys.h>
#include <propvarutil.h>
#include <shellapi.h>
#include <shlguid.h>

#include <utility>

#include "win/platform/dwm_attributes.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

// In kernel32 since Windows 8; the toolchain's headers do not declare it.
extern "C" LONG WINAPI GetPackageFamilyName(HANDLE process, UINT32* length, PWSTR name);

namespace talvo::win {
namespace {

constexpr int kClassNameRoom = 64;
constexpr int kTitleRoom = 512;
constexpr DWORD kPathRoom = 1024;
constexpr UINT32 kPackageFamilyRoom = 256;

BOOL CALLBACK collect_window(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

bool is_switchable(HWND window) {
    if (!IsWindowVisible(window) || GetWindowTextLengthW(window) == 0 ||
        GetWindow(window, GW_OWNER) != nullptr) {
        return false;
    }
    if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
        return false;
    }
    return window_cloaked(window) == 0;
}

unique_handle open_window_process(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    if (process_id == 0) {
        return {};
    }
    return unique_handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
}

std::optional<ShellFolderWindow> shell_folder_window(IShellWindows& windows, long index) {
    VARIANT position{};
    position.vt = VT_I4;
    position.lVal = index;
    ComPtr<IDispatch> item;
    if (FAILED(windows.Item(position, item.put())) || !item) {
        return std::nullopt;
    }
    const ComPtr<IWebBrowserApp> browser = item.query<IWebBrowserApp>();
    SHANDLE_PTR handle = 0;
    unique_bstr location;
    BSTR raw_location = nullptr;
    if (!browser || FAILED(browser->get_HWND(&handle)) ||
        FAILED(browser->get_LocationURL(&raw_location))) {
        SysFreeString(raw_location);
        return std::nullopt;
    }
    location.reset(raw_location);
    if (!location) {
        return std::nullopt;
    }
    return ShellFolderWindow{
        static_cast<WindowHandle>(handle),
        narrow(std::wstring_view(location.get(), SysStringLen(location.get())))};
}

}  // namespace

WindowFacts window_facts(HWND window) {
    return {.window = to_handle(window),
            .visible = IsWindowVisible(window) != FALSE,
            .cloaked = window_cloaked(window) != 0,
            .tool_window = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0,
            .shell_window = window == GetShellWindow(),
            .class_name = window_class_name(window)};
}

WindowHandle window_in_front(HWND popup) {
    HWND next = GetForegroundWindow();
    if (next == nullptr) {
        next = GetTopWindow(nullptr);
    }
    return front_window(to_handle(popup), [&]() -> std::optional<WindowFacts> {
        if (next == nullptr) {
            return std::nullopt;
        }
        const HWND window = std::exchange(next, GetWindow(next, GW_HWNDNEXT));
        return window_facts(window);
    });
}

bool open_window_menu(HWND window) {
    return PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE) != FALSE;
}

std::vector<HWND> top_level_windows() {
    std::vector<HWND> windows;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> list_switchable_windows() {
    std::vector<HWND> windows = top_level_windows();
    std::erase_if(windows, [](HWND window) { return !is_switchable(window); });
    return windows;
}

std::string window_class_name(HWND window) {
    wchar_t name[kClassNameRoom] = {};
    const int length = GetClassNameW(window, name, kClassNameRoom);
    return length > 0 ? narrow(std::wstring_view(name, static_cast<std::size_t>(length))) : "";
}

std::string window_title(HWND window) {
    wchar_t title[kTitleRoom] = {};
    const int length = GetWindowTextW(window, title, kTitleRoom);
    return length > 0 ? narrow(std::wstring_view(title, static_cast<std::size_t>(length))) : "";
}

std::uint32_t window_cloaked(HWND window) {
    DWORD cloaked = 0;
    if (FAILED(DwmGetWindowAttribute(window, dwm::kCloaked, &cloaked, sizeof cloaked))) {
        return 0;
    }
    return cloaked;
}

std::optional<std::string> window_app_id(HWND window) {
    ComPtr<IPropertyStore> store;
    if (FAILED(SHGetPropertyStoreForWindow(window, IID_PPV_ARGS(store.put()))) || !store) {
        return std::nullopt;
    }
    PROPVARIANT value;
    PropVariantInit(&value);
    if (FAILED(store->GetValue(PKEY_AppUserModel_ID, &value))) {
        return std::nullopt;
    }
    wchar_t* raw = nullptr;
    const HRESULT converted = PropVariantToStringAlloc(value, &raw);
    PropVariantClear(&value);
    const unique_cotaskmem_string text(raw);
    if (FAILED(converted) || !text || text.get()[0] == L'\0') {
        return std::nullopt;
    }
    return narrow(text.get());
}

std::optional<std::string> window_process_path(HWND window) {
    const unique_handle process = open_window_process(window);
    if (!process) {
        return std::nullopt;
    }
    wchar_t path[kPathRoom] = {};
    DWORD length = kPathRoom;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) {
        return std::nullopt;
    }
    return narrow(std::wstring_view(path, length));
}

std::optional<std::string> window_package_family(HWND window) {
    const unique_handle process = open_window_process(window);
    if (!process) {
        return std::nullopt;
    }
    wchar_t name[kPackageFamilyRoom] = {};
    UINT32 length = kPackageFamilyRoom;
    // The length counts the terminating zero, which is not part of the name.
    if (GetPackageFamilyName(process.get(), &length, name) != ERROR_SUCCESS || length == 0 ||
        length > kPackageFamilyRoom) {
        return std::nullopt;
    }
    return narrow(std::wstring_view(name, length - 1));
}

std::vector<WindowHandle> SystemWindowQueries::switchable_windows() {
    std::vector<WindowHandle> handles;
    for (const HWND window : list_switchable_windows()) {
        handles.push_back(to_handle(window));
    }
    return handles;
}

std::string SystemWindowQueries::class_name(WindowHandle window) {
    return window_class_name(to_hwnd(window));
}

std::string SystemWindowQueries::title(WindowHandle window) {
    return window_title(to_hwnd(window));
}

std::optional<std::string> SystemWindowQueries::app_id(WindowHandle window) {
    return window_app_id(to_hwnd(window));
}

std::optional<std::string> SystemWindowQueries::package_family(WindowHandle window) {
    return window_package_family(to_hwnd(window));
}

std::optional<std::string> SystemWindowQueries::process_path(WindowHandle window) {
    return window_process_path(to_hwnd(window));
}

// Created anew for every search and released after it.
std::vector<ShellFolderWindow> SystemWindowQueries::shell_folder_windows() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL,
                                IID_PPV_ARGS(windows.put()))) ||
        !windows) {
        return {};
    }
    long count = 0;
    if (FAILED(windows->get_Count(&count))) {
        return {};
    }
    std::vector<ShellFolderWindow> records;
    for (long index = 0; index < count; ++index) {
        if (std::optional<ShellFolderWindow> record = shell_folder_window(*windows.get(), index)) {
            records.push_back(std::move(*record));
        }
    }
    return records;
}

}  // namespace talvo::win
