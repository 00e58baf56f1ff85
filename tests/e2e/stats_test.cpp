// The statistics window as a user sees it: opened by its command (one window
// at most, restored when minimised), refreshed after a launch, lit under the
// mouse, and alone in a preview process beside a running launcher.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "screen_reader.h"
#include "synthetic_input.h"
#include "test_window.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Stats = LauncherTest;

constexpr COLORREF kPageBackground = 0x1C1C1C;
constexpr COLORREF kCardFill = 0x262626;
constexpr COLORREF kBar = 0xB3A94F;         // #4FA9B3
constexpr COLORREF kHoveredBar = 0xE3DC9A;  // #9ADCE3

// The local time of a Unix time, as the launcher reads it.
SYSTEMTIME local_time_of(long long unix_time) {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(unix_time) + 11644473600ULL) * 10000000ULL;
    const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&file, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

// Writes `count` launches of Downloads a minute ago, with that time's local
// hour and day; returns the time written.
long long write_history(const std::wstring& path, int count) {
    const long long written = static_cast<long long>(time(nullptr)) - 60;
    const SYSTEMTIME local = local_time_of(written);
    const std::filesystem::path file(path);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        out << written << '\t' << local.wHour << '\t'
            << ((local.wDayOfWeek == 0 || local.wDayOfWeek == 6) ? 1 : 0)
            << "\tdir:downloads\ttelech\n";
    }
    return written;
}

POINT client_point(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void move_mouse(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + GetSystemMetrics(SM_CXSCREEN) - 1) /
                                    GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + GetSystemMetrics(SM_CYSCREEN) - 1) /
                                    GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// Whether the whole client rectangle is on top, not covered by another window.
bool uncovered(HWND window, RECT area) {
    for (const POINT corner :
         {POINT{area.left, area.top}, POINT{area.right - 1, area.bottom - 1}}) {
        if (WindowFromPoint(client_point(window, corner.x, corner.y)) != window) {
            return false;
        }
    }
    return true;
}

// The pixels of a client rectangle of a window, for comparing two moments.
std::vector<COLORREF> pixels(HWND window, RECT area) {
    std::vector<COLORREF> out;
    for (int y = area.top; y < area.bottom; y += 2) {
        for (int x = area.left; x < area.right; x += 2) {
            out.push_back(screen_pixel(client_point(window, x, y)));
        }
    }
    return out;
}

class StatsCommand : public Stats {
  protected:
    void open_by_command() {
        press_alt_space();
        ASSERT_TRUE(wait_shown());
        type_text(L"statistiques");
        ASSERT_TRUE(wait_rows(1));
        press_key(VK_RETURN);
        ASSERT_TRUE(wait_until([&] {
            const HWND window = launcher_->stats_window();
            return window != nullptr && IsWindowVisible(window) &&
                   screen_pixel(client_point(window, 100, 120)) == kCardFill;
        })) << "the statistics window with its first key figure";
        // The window opens while the popup is still active, which then hides.
        ASSERT_TRUE(wait_hidden());
    }
};

TEST_F(StatsCommand, OneWindowAtMostARepeatedOpenRestoresIt) {
    write_history(data_file(L"history.tsv"), 3);
    ASSERT_TRUE(start(L"--hidden"));
    open_by_command();
    const HWND window = launcher_->stats_window();
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_EQ(utf8(title), "Statistiques · Talvo");
    EXPECT_EQ(screen_pixel(client_point(window, 8, 8)), kPageBackground);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 880);
    save_screen_bmp(window_rect(window), artifact_path(L"stats-window.bmp"));

    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(window) != FALSE; }));
    // The window manager hands the focus on after a minimise; let it settle.
    stays_false([&] { return false; }, std::chrono::milliseconds(300));
    open_by_command();
    EXPECT_EQ(launcher_->stats_window(), window) << "the same window";
    EXPECT_FALSE(IsIconic(window)) << "restored";
}

// The total figure after a launch must be the one a fresh statistics window
// draws from the same history: a preview of the same data folder gives it.
TEST_F(StatsCommand, ALaunchRefreshesTheFigures) {
    write_history(data_file(L"history.tsv"), 1);
    ASSERT_TRUE(start(L"--hidden"));
    open_by_command();
    const HWND window = launcher_->stats_window();
    const RECT total_figure{40, 100, 207, 136};
    ASSERT_TRUE(uncovered(window, total_figure));
    const std::vector<COLORREF> before = pixels(window, total_figure);
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(3));
    // The folder the launch opens would cover the statistics.
    ASSERT_TRUE(wait_until([] { return find_process_window(0, kWineExplorerClass) != nullptr; }));
    close_windows_of_class(kWineExplorerClass);

    std::vector<COLORREF> expected;
    {
        const auto preview = LauncherProcess::start(appdata_.path(), L"--preview-stats");
        ASSERT_TRUE(preview);
        HWND preview_window = nullptr;
        ASSERT_TRUE(wait_until([&] {
            preview_window = preview->stats_window();
            return preview_window != nullptr && GetForegroundWindow() == preview_window &&
                   uncovered(preview_window, total_figure) &&
                   screen_pixel(client_point(preview_window, 100, 120)) == kCardFill;
        }));
        expected = pixels(preview_window, total_figure);
        // Closed as a person closes it, not ended from outside while it is the active window.
        PostMessageW(preview_window, WM_CLOSE, 0, 0);
        ASSERT_EQ(preview->wait_for_exit(kWait), std::optional<DWORD>(0));
    }
    ASSERT_NE(expected, before) << "three launches are drawn unlike two";
    SetForegroundWindow(window);
    ASSERT_TRUE(wait_until(
        [&] { return GetForegroundWindow() == window && uncovered(window, total_figure); }));
    EXPECT_TRUE(wait_until([&] { return pixels(window, total_figure) == expected; }))
        << "the total figure is redrawn with the new count";
    EXPECT_TRUE(launcher_->running());
}

TEST_F(StatsCommand, HoveringABarLightsItAndLeavingRestoresIt) {
    const long long written = write_history(data_file(L"history.tsv"), 2);
    ASSERT_TRUE(start(L"--hidden"));
    open_by_command();
    const HWND window = launcher_->stats_window();
    const SYSTEMTIME local = local_time_of(written);
    // The middle of the written hour's bar, the tallest, near its foot.
    const int bar_x = 464 + static_cast<int>((local.wHour + 0.5) * 376.0 / 24);
    const POINT bar = client_point(window, bar_x, 290);
    ASSERT_TRUE(wait_until([&] { return screen_pixel(bar) == kBar; }))
        << "the bar, once the popup above it is gone";
    move_mouse(bar);
    EXPECT_TRUE(wait_until([&] { return screen_pixel(bar) == kHoveredBar; }));
    save_screen_bmp(window_rect(window), artifact_path(L"stats-hover.bmp"));
    move_mouse(POINT{2, GetSystemMetrics(SM_CYSCREEN) - 2});
    EXPECT_TRUE(wait_until([&] { return screen_pixel(bar) == kBar; })) << "the mouse left";
}

// What a screen reader reads of the page, from this process: the document,
// its titles and figures, and the lines of the lists, as they are drawn.
TEST_F(StatsCommand, AScreenReaderReadsTheTitlesFiguresAndLists) {
    write_history(data_file(L"history.tsv"), 2);
    ASSERT_TRUE(start(L"--hidden"));
    open_by_command();
    const HWND window = launcher_->stats_window();
    const auto page = read_client(window);
    ASSERT_TRUE(page) << "the page answers a reader";
    EXPECT_EQ(page->first.name, "Statistiques");
    EXPECT_EQ(page->first.role, ROLE_SYSTEM_DOCUMENT);
    EXPECT_EQ(page->first.state,
              STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED)
        << "the document has the focus while its window is active";
    std::vector<std::string> said;
    for (const ReadElement& line : page->second) {
        EXPECT_EQ(line.role, ROLE_SYSTEM_STATICTEXT) << line.name;
        said.push_back(line.name);
    }
    // Two written launches of Downloads and the one of the statistics command.
    for (const char* expected :
         {"Statistiques", "3 lancements au total", "2 apps et dossiers différents",
          "Les plus lancées", "Téléchargements, 2", "Par heure", "Derniers lancements",
          "Ce que Talvo a appris", "« telech » → Téléchargements, 2 fois"}) {
        EXPECT_NE(std::find(said.begin(), said.end(), expected), said.end()) << expected;
    }
    ASSERT_GE(said.size(), 3u);
    EXPECT_EQ(said.front(), "Statistiques") << "in reading order";
    EXPECT_EQ(said[2], "3 lancements au total");
    // The title's place on screen, inside the window's client area.
    POINT title{24, 18};
    ClientToScreen(window, &title);
    EXPECT_EQ(page->second.front().location.left, title.x);
    EXPECT_EQ(page->second.front().location.top, title.y);

    // A reader that still holds the page once the window is closed gets a
    // failure, never the old page, and the launcher lives on.
    const KeptObject kept(window);
    ASSERT_TRUE(kept.held());
    std::string name;
    ASSERT_EQ(kept.ask_name(&name), S_OK);
    EXPECT_EQ(name, "Statistiques");
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(window); }));
    name.clear();
    const HRESULT after = kept.ask_name(&name);
    // The proxy was cut off, so the call never reached the object: Windows
    // answers RPC_E_DISCONNECTED, Wine 8 that the interface is unknown.
    EXPECT_TRUE(after == RPC_E_DISCONNECTED || after == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF))
        << std::hex << after;
    EXPECT_TRUE(name.empty());
    EXPECT_TRUE(launcher_->running());
}

TEST_F(Stats, PreviewRunsAloneBesideALauncherAndEscapeEndsIt) {
    write_history(data_file(L"history.tsv"), 1);
    ASSERT_TRUE(start(L"--hidden"));
    const auto preview = LauncherProcess::start(appdata_.path(), L"--preview-stats");
    ASSERT_TRUE(preview);
    HWND window = nullptr;
    ASSERT_TRUE(wait_until([&] {
        window = preview->stats_window();
        return window != nullptr && IsWindowVisible(window) &&
               screen_pixel(client_point(window, 100, 120)) == kCardFill;
    }));
    const HWND preview_popup = preview->popup();
    EXPECT_TRUE(preview_popup == nullptr || !IsWindowVisible(preview_popup)) << "no popup";
    EXPECT_FALSE(IsWindowVisible(popup_)) << "nothing handed to the running launcher";
    SetForegroundWindow(window);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == window; }));
    press_key(VK_ESCAPE);
    EXPECT_EQ(preview->wait_for_exit(kWait), std::optional<DWORD>(0));
    EXPECT_TRUE(launcher_->running()) << "closing the preview ends that process only";
    for (const LogLine& line : log_lines(log_path())) {
        if (line.process_id == preview->id()) {
            EXPECT_TRUE(line.message.rfind("démarrage", 0) == 0)
                << "only its start: " << line.message;
        }
    }
}

// A preview does not take the single-instance place: a launcher started while
// a preview runs starts for real instead of handing over to the preview.
TEST_F(Stats, ALauncherStartedDuringAPreviewRunsForReal) {
    const auto preview = LauncherProcess::start(appdata_.path(), L"--preview-stats");
    ASSERT_TRUE(preview);
    ASSERT_TRUE(wait_until([&] { return preview->stats_window() != nullptr; }));
    ASSERT_TRUE(start());
    EXPECT_TRUE(wait_shown());
    EXPECT_TRUE(preview->running());
}

}  // namespace
}  // namespace talvo::e2e
