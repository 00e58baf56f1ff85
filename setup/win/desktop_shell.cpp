#include "setup/win/desktop_shell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shobjidl.h>

namespace talvo::setup::win {
namespace {

using talvo::win::ComPtr;
using talvo::win::unique_module;

// SID_STopLevelBrowser: the service that hands out a window's shell browser.
constexpr GUID kTopLevelBrowserService = {
    0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

struct DesktopWindow {
    ComPtr<IDispatch> automation;
    HWND hwnd = nullptr;
};

// The desktop in the shell's list of its windows.
std::optional<DesktopWindow> desktop_window() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                __uuidof(IShellWindows), windows.put_void()))) {
        return std::nullopt;
    }
    VARIANT anywhere{};  // VT_EMPTY
    LONG hwnd = 0;
    DesktopWindow desktop;
    if (windows->FindWindowSW(&anywhere, &anywhere, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH,
                              desktop.automation.put()) != S_OK ||
        !desktop.automation) {
        return std::nullopt;  // S_FALSE: no shell shows the desktop
    }
    // Window handles hold 32 significant bits and are sign-extended.
    desktop.hwnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
    return desktop;
}

// The shell's automation object behind the desktop's folder view.
ComPtr<IShellDispatch2> shell_dispatch(IDispatch& desktop) {
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    if (FAILED(desktop.QueryInterface(__uuidof(IServiceProvider), services.put_void())) ||
        FAILED(services->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser),
                                      browser.put_void()))) {
        return {};
    }
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    if (FAILED(browser->QueryActiveShellView(view.put())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.put_void()))) {
        return {};
    }
    const ComPtr<IShellFolderViewDual> folder_view = background.query<IShellFolderViewDual>();
    ComPtr<IDispatch> application;
    if (!folder_view || FAILED(folder_view->get_Application(application.put()))) {
        return {};
    }
    return application.query<IShellDispatch2>();
}

template <typename Function>
Function procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::optional<DesktopShell> DesktopShell::find() {
    std::optional<DesktopWindow> desktop = desktop_window();
    if (!desktop) {
        return std::nullopt;
    }
    ComPtr<IShellDispatch2> dispatch = shell_dispatch(*desktop->automation.get());
    DWORD process_id = 0;
    if (!dispatch || GetWindowThreadProcessId(desktop->hwnd, &process_id) == 0) {
        return std::nullopt;
    }
    return DesktopShell(std::move(dispatch), process_id);
}

bool DesktopShell::start(const std::wstring& program, const std::wstring& arguments,
                         const std::wstring& folder) const {
    // The automation strings come from oleaut32, loaded from System32 here: the
    // setup imports only libraries that Windows always takes from there.
    const unique_module automation(
        LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    using AllocateString = BSTR(WINAPI*)(const OLECHAR*);
    using FreeString = void(WINAPI*)(BSTR);
    const auto allocate = procedure<AllocateString>(automation.get(), "SysAllocString");
    const auto release = procedure<FreeString>(automation.get(), "SysFreeString");
    if (!automation || allocate == nullptr || release == nullptr) {
        return false;
    }
    const BSTR texts[] = {allocate(program.c_str()), allocate(arguments.c_str()),
                          allocate(folder.c_str())};
    HRESULT result = E_OUTOFMEMORY;
    if (texts[0] != nullptr && texts[1] != nullptr && texts[2] != nullptr) {
        VARIANT with_arguments{};
        with_arguments.vt = VT_BSTR;
        with_arguments.bstrVal = texts[1];
        VARIANT in_folder{};
        in_folder.vt = VT_BSTR;
        in_folder.bstrVal = texts[2];
        const VARIANT by_default{};  // the default verb, the default window state
        result =
            dispatch_->ShellExecute(texts[0], with_arguments, in_folder, by_default, by_default);
    }
    for (const BSTR text : texts) {
        release(text);  // nothing for a null string
    }
    return SUCCEEDED(result);
}

}  // namespace talvo::setup::win
