#include "win/shell/autostart.h"

#include <windows.h>

#include "core/shell/autostart.h"
#include "core/shell/platform.h"
#include "win/catalog/catalog_install.h"
#include "win/platform/text_win.h"

namespace talvo::win {

bool autostart_enabled() {
    return system_platform().system.autostart_registered();
}

void toggle_autostart(UiState& ui) {
    const std::wstring key = widen(kRunKey);
    const std::wstring name = widen(kRunValueName);
    if (autostart_enabled()) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    } else {
        // An unknown path gives "" --hidden, which no start can use.
        const std::string path = system_platform().system.executable_path().value_or("");
        const std::wstring data = widen(run_value_data(path));
        const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(), bytes);
    }
    BorrowSlot<VisibleCatalog>::Borrow catalog = ui.catalog.borrow();
    BorrowSlot<IconStore>::Borrow icons = ui.icons.borrow();
    BorrowSlot<PopupState>::Borrow popup = ui.popup.borrow();
    if (catalog && icons && popup) {
        rebuild_builtins(*catalog, *icons, popup->scale);
    }
}

}  // namespace talvo::win
