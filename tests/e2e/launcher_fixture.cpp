#include "launcher_fixture.h"

#include <cstdio>

#include "polling.h"
#include "screen.h"
#include "screen_reader.h"
#include "test_window.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

// Probes left of the query box and inside the logo tile, clear of the letter.
constexpr POINT kBackgroundProbe{5, 43};
constexpr POINT kLogoProbe{662, 43};
// Probe of a row's band: inside the band, left of the icon tile.
constexpr int kBandProbeX = 16;

std::string test_name() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

// The window manager moves the focus a moment after windows of an earlier
// test went away; a popup shown before that would lose it at once.
void wait_for_steady_focus() {
    HWND focus = GetForegroundWindow();
    auto steady_since = std::chrono::steady_clock::now();
    wait_until(
        [&] {
            const HWND now = GetForegroundWindow();
            if (now != focus) {
                focus = now;
                steady_since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - steady_since > std::chrono::milliseconds(250);
        },
        std::chrono::milliseconds(2000));
}

}  // namespace

POINT expected_origin() {
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    return POINT{work.left + (work.right - (look::kWidth + work.left)) / 2,
                 work.top + ((work.bottom - work.top) * 22) / 100};
}

void LauncherTest::SetUp() {
    // One launcher per session: a stray one would answer in place of ours.
    ASSERT_EQ(any_talvo_window(), nullptr) << "a launcher is already running on this desktop";
    close_windows_of_class(kWineExplorerClass);
    wait_for_steady_focus();
}

void LauncherTest::TearDown() {
    if (launcher_ && !exit_expected_) {
        if (const std::optional<DWORD> status =
                launcher_->wait_for_exit(std::chrono::milliseconds(0))) {
            ADD_FAILURE() << "the launcher ended during the test, with status " << *status;
        }
    }
    if (HasFailure()) {
        std::printf("--- talvo.log of %s\n%s---\n", test_name().c_str(),
                    read_file(log_path()).c_str());
        // The whole screen: a window manager may have put the popup elsewhere.
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        save_screen_bmp(screen, artifact_path(wide(test_name()) + L"-failed.bmp"));
    }
    // The folders its launches opened close as a person closes them, before
    // the launcher and what it still runs are ended. A folder opens about a
    // second after its launch: after one, a late window is waited for, or it
    // would take the focus in the middle of the next test.
    const bool launched = history().size() > history_at_start_;
    close_windows_of_class(kWineExplorerClass, launched ? std::chrono::milliseconds(1500)
                                                        : std::chrono::milliseconds(0));
    launcher_.reset();
}

::testing::AssertionResult LauncherTest::start(const std::wstring& arguments) {
    history_at_start_ = history().size();  // what the test wrote itself
    launcher_ = LauncherProcess::start(appdata_.path(), arguments);
    if (!launcher_) {
        return ::testing::AssertionFailure()
               << "talvo.exe could not be started from " << utf8(talvo_exe_path());
    }
    const bool ready = wait_until([&] {
        popup_ = launcher_->popup();
        for (const LogLine& line : log_lines(log_path())) {
            if (line.message.rfind("Alt+Espace : ", 0) == 0 && popup_ != nullptr) {
                return true;
            }
        }
        return !launcher_->running();
    });
    if (!ready || !launcher_->running() || popup_ == nullptr) {
        return ::testing::AssertionFailure()
               << "the launcher did not get ready (running: " << launcher_->running() << ")";
    }
    return ::testing::AssertionSuccess();
}

bool LauncherTest::shown() const {
    return IsWindowVisible(popup_) && GetForegroundWindow() == popup_ &&
           screen_pixel(popup_point(kLogoProbe.x, kLogoProbe.y)) == look::kAccent &&
           screen_pixel(popup_point(kBackgroundProbe.x, kBackgroundProbe.y)) == look::kBackground;
}

::testing::AssertionResult LauncherTest::wait_shown() {
    if (wait_until([&] { return shown(); })) {
        return ::testing::AssertionSuccess();
    }
    char colours[96];
    std::snprintf(colours, sizeof colours, "logo probe 0x%06lX, panel probe 0x%06lX",
                  screen_pixel(popup_point(kLogoProbe.x, kLogoProbe.y)),
                  screen_pixel(popup_point(kBackgroundProbe.x, kBackgroundProbe.y)));
    const HWND foreground = GetForegroundWindow();
    wchar_t foreground_class[64] = {};
    GetClassNameW(foreground, foreground_class, 64);
    return ::testing::AssertionFailure()
           << "the popup is not shown: visible " << (IsWindowVisible(popup_) != FALSE)
           << ", foreground " << (foreground == popup_) << " (" << utf8(foreground_class) << "), "
           << colours;
}

::testing::AssertionResult LauncherTest::wait_hidden() {
    const auto hidden = [&] {
        return launcher_->running() && IsWindow(popup_) && !IsWindowVisible(popup_);
    };
    if (wait_until(hidden)) {
        return ::testing::AssertionSuccess();
    }
    if (!launcher_->running()) {
        return ::testing::AssertionFailure() << "the launcher is no longer running";
    }
    return ::testing::AssertionFailure() << "the popup is still visible";
}

::testing::AssertionResult LauncherTest::wait_exit(DWORD status) {
    exit_expected_ = true;
    const std::optional<DWORD> ended = launcher_->wait_for_exit(kWait);
    if (ended == status) {
        return ::testing::AssertionSuccess();
    }
    if (!ended) {
        return ::testing::AssertionFailure() << "the launcher still runs";
    }
    return ::testing::AssertionFailure() << "the launcher ended with status " << *ended;
}

::testing::AssertionResult LauncherTest::wait_rows(int rows) {
    const int expected = look::height_for_rows(rows);
    if (wait_until([&] { return window_height(popup_) == expected; })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "popup height " << window_height(popup_)
                                         << ", expected " << expected << " for " << rows << " rows";
}

::testing::AssertionResult LauncherTest::wait_rows_named(std::string_view query,
                                                         const std::vector<std::string>& names) {
    std::optional<ReadPopup> read;
    const auto matches = [&] {
        read = read_popup(popup_);
        if (!read || read->query.value != query || read->rows.size() != names.size()) {
            return false;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (read->rows[i].name != names[i]) {
                return false;
            }
        }
        return true;
    };
    if (wait_until(matches)) {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    if (!read) {
        return failure << "the popup does not answer a screen reader";
    }
    failure << "query \"" << read->query.value << "\", rows:";
    for (const ReadElement& row : read->rows) {
        failure << " \"" << row.name << "\"";
    }
    return failure;
}

::testing::AssertionResult LauncherTest::wait_selected(int row) {
    if (wait_until([&] { return selected_row() == row; })) {
        return ::testing::AssertionSuccess();
    }
    const std::optional<int> band = selected_row();
    return ::testing::AssertionFailure()
           << "selection band on row " << (band ? *band : -1) << ", expected row " << row;
}

::testing::AssertionResult LauncherTest::wait_history(std::size_t count) {
    if (wait_until([&] { return history().size() == count; })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "history.tsv has " << history().size() << " lines, expected " << count << ":\n"
           << read_file(data_file(L"history.tsv"));
}

std::optional<int> LauncherTest::rows_by_height() const {
    const int height = window_height(popup_);
    for (int rows = 0; rows <= look::kMaxRows; ++rows) {
        if (height == look::height_for_rows(rows)) {
            return rows;
        }
    }
    return std::nullopt;
}

std::optional<int> LauncherTest::selected_row() const {
    const std::optional<int> rows = rows_by_height();
    for (int row = 0; rows && row < *rows; ++row) {
        const int middle = look::kRowsTop + look::kRowHeight * row + look::kRowHeight / 2;
        if (screen_pixel(popup_point(kBandProbeX, middle)) == look::kAccent) {
            return row;
        }
    }
    return std::nullopt;
}

POINT LauncherTest::popup_point(int x, int y) const {
    const RECT rect = window_rect(popup_);
    return POINT{rect.left + x, rect.top + y};
}

POINT LauncherTest::row_point(int row) const {
    return popup_point(300, look::kRowsTop + look::kRowHeight * row + look::kRowHeight / 2);
}

std::vector<HistoryLine> LauncherTest::history() const {
    return history_lines(data_file(L"history.tsv"));
}

std::wstring LauncherTest::log_path() const {
    return data_file(L"talvo.log");
}

std::wstring LauncherTest::data_file(const wchar_t* name) const {
    return appdata_.data_file(name);
}

std::wstring LauncherTest::save_popup_screenshot(const std::wstring& name) const {
    const std::wstring path = artifact_path(name);
    return save_screen_bmp(window_rect(popup_), path) ? path : std::wstring();
}

}  // namespace talvo::e2e
