// What the Win32-layer tests of the launcher stand on: a launcher whose state
// the test chooses, and a scratch APPDATA whose log can be read back.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "core/catalog/builtins.h"
#include "core/catalog/catalog.h"
#include "core/shell/platform.h"
#include "patient_removal.h"
#include "win/page/drawing.h"
#include "win/shell/app_state.h"
#include "win/shell/launcher.h"

namespace talvo::win {

// A launcher in this process, its popup window made but no thread started:
// the state is the test's, with `rows` folder rows for `query`, the
// catalogue's built-in entries and `records` launches of them.
class TestLauncher {
  public:
    explicit TestLauncher(std::string query = {}, std::size_t rows = 0, std::size_t records = 0)
        : launcher_(false) {
        launcher_.create_window(GetModuleHandleW(nullptr));
        auto [requests, request_end] = make_channel<IconRequest>();
        auto [result_end, results] = make_channel<IconResult>();
        auto [catalogs, catalog_end] = make_channel<Catalog>();
        request_end_.emplace(std::move(request_end));
        result_end_.emplace(std::move(result_end));
        auto popup = std::make_unique<PopupState>();
        popup->query = std::move(query);
        for (std::size_t i = 0; i < rows; ++i) {
            popup->results.push_back(make_entry("dir:" + std::to_string(i), "Dossier", "",
                                                LaunchTarget::open_path("C:\\")));
        }
        popup->fonts = create_popup_fonts(popup->scale);
        auto catalog = std::make_unique<VisibleCatalog>(build_builtins(system_platform().system),
                                                        HiddenKeys{});
        auto memory = std::make_unique<LearningMemory>();
        const std::int64_t now = system_platform().clock.unix_now();
        for (std::size_t i = 0; i < records; ++i) {
            const CatalogEntry& entry = catalog->catalog()[i % catalog->catalog().size()];
            memory->records.push_back(
                {entry.key, "q", static_cast<std::uint64_t>(now) - i * 600, 12, 0});
        }
        ui().popup.install(std::move(popup));
        ui().catalog.install(std::move(catalog));
        ui().memory.install(std::move(memory));
        ui().icons.install(std::make_unique<IconStore>(std::move(requests), std::move(results)));
        ui().feed.install(
            std::make_unique<CatalogFeed>(std::move(catalogs), std::move(catalog_end)));
    }
    ~TestLauncher() {
        // The popup's end posts the quit message, which would end a later loop of this thread.
        if (launcher_.popup().hwnd() != nullptr) {
            DestroyWindow(launcher_.popup().hwnd());
        }
        MSG message{};
        PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    TestLauncher(const TestLauncher&) = delete;
    TestLauncher& operator=(const TestLauncher&) = delete;

    Launcher& launcher() { return launcher_; }
    PopupWindow& popup() { return launcher_.popup(); }
    StatsWindow& stats() { return launcher_.stats(); }
    TrayIcon& tray() { return launcher_.tray(); }
    UiState& ui() { return launcher_.ui(); }
    HWND hwnd() { return launcher_.popup().hwnd(); }

  private:
    Launcher launcher_;
    std::optional<Receiver<IconRequest>> request_end_;
    std::optional<Sender<IconResult>> result_end_;
};

// A scratch APPDATA for the log, restored afterwards.
class ScratchLog {
  public:
    ScratchLog() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("talvo-win-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        wchar_t old[1024] = {};
        had_ = GetEnvironmentVariableW(L"APPDATA", old, 1024) > 0;
        old_ = old;
        SetEnvironmentVariableW(L"APPDATA", folder_.wstring().c_str());
    }
    ~ScratchLog() {
        SetEnvironmentVariableW(L"APPDATA", had_ ? old_.c_str() : nullptr);
        testing::remove_patiently(folder_);
    }
    ScratchLog(const ScratchLog&) = delete;
    ScratchLog& operator=(const ScratchLog&) = delete;

    std::string text() const {
        std::ifstream in(folder_ / "Talvo" / "talvo.log", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

  private:
    std::filesystem::path folder_;
    std::wstring old_;
    bool had_ = false;
};

// What the screen shows at a client point of the window.
inline COLORREF client_pixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace talvo::win
