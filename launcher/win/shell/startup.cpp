#include "win/shell/startup.h"

#include "core/catalog/builtins.h"
#include "core/catalog/hidden.h"
#include "core/matching/history_file.h"
#include "core/shell/diagnostic_log.h"
#include "core/shell/launcher_args.h"
#include "core/shell/launcher_protocol.h"
#include "core/shell/platform.h"
#include "win/catalog/catalog_install.h"
#include "win/catalog/icon_worker.h"
#include "win/page/drawing.h"
#include "win/platform/detached_thread.h"
#include "win/platform/monitor.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_visibility.h"
#include "win/popup/popup_window.h"
#include "win/shell/app_state.h"
#include "win/shell/diag_focus.h"
#include "win/shell/tray.h"
#include "win/stats/stats_window.h"

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

// The state, or nothing when the icon worker's thread cannot be started.
std::unique_ptr<AppState> build_state(HWND hwnd, const Platform& platform) {
    auto [request_sender, request_receiver] = make_channel<IconRequest>();
    auto [result_sender, result_receiver] = make_channel<IconResult>();
    auto [catalog_sender, catalog_receiver] = make_channel<Catalog>();
    if (!start_detached_thread([requests = std::move(request_receiver),
                                results = std::move(result_sender), hwnd]() mutable {
            icon_worker(std::move(requests), std::move(results), hwnd, kIconsReadyMessage);
        })) {
        return nullptr;
    }

    auto state = std::make_unique<AppState>(std::move(request_sender), std::move(result_receiver),
                                            std::move(catalog_sender), std::move(catalog_receiver));
    load_history(state->memory, platform);
    state->hidden_keys = load_hidden(platform);
    state->catalog_updated_at = std::chrono::steady_clock::now();
    // The scale of the monitor where the popup will open, as a show reads it:
    // the first icons are requested at the size they are drawn.
    state->scale = monitor_under_pointer().scale();
    state->fonts = create_popup_fonts(state->scale);
    state->hwnd = hwnd;
    install_catalog(*state, build_builtins(platform.system));
    start_scan(*state);
    return state;
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

    const HWND hwnd = create_popup_window(instance);
    if (hwnd == nullptr) {
        return 1;  // without its window the launcher cannot run
    }
    std::unique_ptr<AppState> state = build_state(hwnd, platform);
    if (!state) {
        return 1;  // a background thread could not be started
    }
    ui_state().install(std::move(state));
    if (switches.preview_stats) {
        ui_values().preview_mode = true;
        open_stats_window();
        if (stats_window() == nullptr) {
            return 1;  // no window to close: the process would never end
        }
        return run_message_loop();
    }
    ui_values().taskbar_created_msg = RegisterWindowMessageW(L"TaskbarCreated");
    allow_messages_from_other_processes(hwnd, ui_values().taskbar_created_msg);
    add_tray_icon_with_retry(hwnd);
    register_hotkey(hwnd, platform);
    if (!switches.hidden) {
        show_popup(hwnd);
    }
    return run_message_loop();
}

}  // namespace talvo::win
