#include "setup/win/shortcut.h"

#include <windows.h>

#include <objidl.h>
#include <shobjidl.h>

#include "setup/core/failure_texts.h"
#include "win/platform/system_error.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup::win {
namespace {

using talvo::win::ComPtr;
using talvo::win::widen;

// CLSID_ShellLink, defined here rather than linking the SDK's whole GUID library.
constexpr CLSID kShellLinkClass = {
    0x00021401, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr wchar_t kDescription[] = L"Lanceur d'applications (Alt+Espace)";

// Every call of the link's set-up, the first failure's code kept.
HRESULT fill_and_save(IShellLinkW& link, const std::wstring& shortcut, const InstallPaths& paths) {
    const std::wstring launcher = widen(paths.launcher);
    const std::wstring folder = widen(paths.folder);
    HRESULT result = link.SetPath(launcher.c_str());
    if (SUCCEEDED(result)) {
        result = link.SetWorkingDirectory(folder.c_str());
    }
    if (SUCCEEDED(result)) {
        result = link.SetDescription(kDescription);
    }
    if (SUCCEEDED(result)) {
        result = link.SetIconLocation(launcher.c_str(), 0);
    }
    if (FAILED(result)) {
        return result;
    }
    ComPtr<IPersistFile> file;
    result = link.QueryInterface(__uuidof(IPersistFile), file.put_void());
    if (FAILED(result)) {
        return result;
    }
    return file->Save(shortcut.c_str(), TRUE);
}

}  // namespace

StepResult create_shortcut(const std::string& shortcut, const InstallPaths& paths) {
    ComPtr<IShellLinkW> link;
    HRESULT result = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IShellLinkW), link.put_void());
    if (SUCCEEDED(result)) {
        result = fill_and_save(*link.get(), widen(shortcut), paths);
    }
    if (FAILED(result)) {
        return Failure{shortcut_failure(talvo::win::system_error_text(static_cast<DWORD>(result)))};
    }
    return Done{};
}

}  // namespace talvo::setup::win
