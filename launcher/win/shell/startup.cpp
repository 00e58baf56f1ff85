#include "win/shell/startup.h"

#include "core/shell/diagnostic_log.h"
#include "core/shell/launcher_args.h"
#include "core/shell/launcher_protocol.h"
#include "core/shell/platform.h"
#include "win/page/drawing.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_window.h"
#include "win/shell/diag_focus.h"
#include "win/shell/launcher.h"

namespace talvo::win {
namespace {

constexpr const wchar_t* kSingletonMutex = protocol::kSingleInstanceMutex;

// When another launcher runs in this logon session, asks it to show itself
// and returns true. Otherwise the mutex stays open, never closed, for the
// life of the process: it is what marks this instance as the running one.
bool hand_over_to_running_instance() {
    CreateMutexW(nullptr, TRUE, kSingletonMutex);
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    if (const HWND running = FindWindowW(kPopupClassName, nullptr)) {
        // This start is the person's last input, so this process may bring a
        // window forward; it hands that right to the running launcher.
        DWORD running_process = 0;
        GetWindowThreadProcessId(running, &running_process);
        AllowSetForegroundWindow(running_process);
        PostMessageW(running, kShowRequestMessage, 0, 0);
    }
    return true;
}

bool running_in_job() {
    BOOL in_job = FALSE;
    if (!IsProcessInJob(GetCurrentProcess(), nullptr, &in_job)) {
        return false;
    }
    return in_job != FALSE;
}

void log_startup(const Platform& platform, const std::vector<std::string>& arguments) {
    const std::vector<std::string> after_program(
        arguments.empty() ? arguments.begin() : arguments.begin() + 1, arguments.end());
    const std::string path = platform.system.executable_path().value_or("");
    write_log(platform, startup_message(path, after_program, running_in_job()));
}

void register_hotkey(HWND hwnd, const Platform& platform) {
    const bool registered = RegisterHotKey(hwnd, kHotkeyId, MOD_ALT | MOD_NOREPEAT, VK_SPACE);
    write_log(platform, std::string("Alt+Espace : ") + (registered ? "enregistré" : "DÉJÀ PRIS"));
    if (!registered) {
        const std::wstring text = widen(
            "Le raccourci Alt+Espace est déjà utilisé par une autre application (PowerToys Run, "
            "Copilot…).\n\nClique sur l'icône T dans la zone de notification pour ouvrir Talvo.");
        MessageBoxW(nullptr, text.c_str(), L"Talvo", MB_OK | MB_ICONWARNING);
    }
}

int run_message_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int run_launcher(HINSTANCE instance, const std::vector<std::string>& arguments) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const LauncherSwitches switches = parse_switches(arguments);
    const Platform platform = system_platform();
    if (switches.diag_focus) {
        run_diag_focus(platform);
        return 0;
    }
    // A preview is a window of its own beside any launcher: it takes no part
    // in the single-instance check, so it never stands in for the launcher.
    if (!switches.preview_stats && hand_over_to_running_instance()) {
        return 0;
    }
    log_startup(platform, arguments);
    const GdiplusSession gdiplus;

    // Lives until the process ends: the popup's window and every handler use it.
    Launcher launcher(switches.preview_stats);
    if (!launcher.start(instance, platform)) {
        return 1;  // without its window or its threads the launcher cannot run
    }
    if (switches.preview_stats) {
        launcher.stats().open();
        if (launcher.stats().hwnd() == nullptr) {
            return 1;  // no window to close: the process would never end
        }
        return run_message_loop();
    }
    PopupWindow& popup = launcher.popup();
    popup.allow_messages_from_other_processes();
    launcher.tray().add_with_retry();
    register_hotkey(popup.hwnd(), platform);
    if (!switches.hidden) {
        popup.show();
    }
    return run_message_loop();
}

}  // namespace talvo::win
