// Figures of the running launcher, printed for the record and not asserted:
// how fast the popup appears and follows a keystroke, how much memory it
// keeps, how large the program is.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "synthetic_input.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Figures = LauncherTest;
using Clock = std::chrono::steady_clock;

struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
};

Spread spread_of(std::vector<double> samples) {
    if (samples.empty()) {
        return {};
    }
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double mebibytes(std::optional<std::size_t> bytes) {
    return bytes ? static_cast<double>(*bytes) / (1024.0 * 1024.0) : -1.0;
}

std::optional<unsigned long long> file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(Figures, PrintedForTheRecord) {
    const auto launches_logged = [&] {
        int count = 0;
        for (const LogLine& line : log_lines(log_path())) {
            count += line.message.starts_with("lancement ") ? 1 : 0;
        }
        return count;
    };
    constexpr int kShowRounds = 5;
    constexpr int kKeystrokeRounds = 10;
    constexpr int kQueries = 100;
    constexpr int kPaintRounds = 30;
    constexpr int kLaunchRounds = 3;
    const wchar_t* const words[] = {L"telech", L"d",    L"doc",  L"mus",  L"vid",
                                    L"bur",    L"stat", L"quit", L"expl", L"home"};

    ASSERT_TRUE(start(L"--hidden"));
    const std::optional<std::size_t> bytes_at_start = launcher_->private_bytes();
    const std::size_t committed_at_start = launcher_->committed_private_bytes();
    const POINT logo = expected_origin();
    const POINT logo_probe{logo.x + 662, logo.y + 43};

    std::vector<double> show_ms;
    for (int round = 0; round < kShowRounds; ++round) {
        ASSERT_TRUE(wait_until([&] { return screen_pixel(logo_probe) != look::kAccent; }));
        const auto start_time = Clock::now();
        press_alt_space();
        ASSERT_TRUE(wait_shown());
        show_ms.push_back(milliseconds_since(start_time));
        press_key(VK_ESCAPE);
        ASSERT_TRUE(wait_hidden());
    }

    press_alt_space();
    ASSERT_TRUE(wait_shown());
    const POINT first_band = popup_point(16, look::kRowsTop + 27);
    std::vector<double> resize_ms;
    std::vector<double> paint_ms;
    for (int round = 0; round < kKeystrokeRounds; ++round) {
        ASSERT_TRUE(wait_until([&] { return screen_pixel(first_band) != look::kAccent; }));
        const auto start_time = Clock::now();
        type_text(L"d");
        ASSERT_TRUE(wait_until([&] { return window_height(popup_) == look::height_for_rows(6); }));
        resize_ms.push_back(milliseconds_since(start_time));
        ASSERT_TRUE(wait_until([&] { return screen_pixel(first_band) == look::kAccent; }));
        paint_ms.push_back(milliseconds_since(start_time));
        press_key(VK_BACK);
        ASSERT_TRUE(wait_rows(0));
    }

    // The popup's own paint while it shows typed results: a synchronous repaint
    // asked from here, less the round trip of a message that does nothing.
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    std::vector<double> repaint_ms;
    std::vector<double> round_trip_ms;
    for (int round = 0; round < kPaintRounds; ++round) {
        InvalidateRect(popup_, nullptr, FALSE);
        auto start_time = Clock::now();
        UpdateWindow(popup_);
        repaint_ms.push_back(milliseconds_since(start_time));
        start_time = Clock::now();
        SendMessageW(popup_, WM_NULL, 0, 0);
        round_trip_ms.push_back(milliseconds_since(start_time));
    }
    press_key(VK_BACK);
    ASSERT_TRUE(wait_rows(0));

    for (int query = 0; query < kQueries; ++query) {
        type_text(words[query % std::size(words)]);
        ASSERT_TRUE(wait_until([&] { return window_height(popup_) != look::height_for_rows(0); }));
        press_ctrl_backspace();
        ASSERT_TRUE(wait_rows(0));
    }
    const std::optional<std::size_t> bytes_after_queries = launcher_->private_bytes();
    const std::size_t committed_after_queries = launcher_->committed_private_bytes();

    // Enter to the launch's log line: the choice recorded, the popup hidden,
    // the shell asked and its answer written.
    std::vector<double> launch_ms;
    for (int round = 0; round < kLaunchRounds; ++round) {
        press_key(VK_ESCAPE);
        ASSERT_TRUE(wait_hidden());
        press_alt_space();
        ASSERT_TRUE(wait_shown());
        type_text(L"telech");
        ASSERT_TRUE(wait_rows(1));
        const auto start_time = Clock::now();
        press_key(VK_RETURN);
        ASSERT_TRUE(wait_until([&] { return launches_logged() == round + 1; }));
        launch_ms.push_back(milliseconds_since(start_time));
    }
    const std::optional<unsigned long long> exe_size = file_size(talvo_exe_path());

    const Spread show = spread_of(show_ms);
    const Spread resize = spread_of(resize_ms);
    const Spread paint = spread_of(paint_ms);
    const Spread repaint = spread_of(repaint_ms);
    const Spread round_trip = spread_of(round_trip_ms);
    const Spread launch = spread_of(launch_ms);
    char figures[1536];
    std::snprintf(
        figures, sizeof figures,
        "\n==== Talvo figures under Wine (not asserted) ====\n"
        "Alt+Space to popup painted      median %7.1f ms  (min %.1f, max %.1f, %d rounds)\n"
        "keystroke to window resized     median %7.1f ms  (min %.1f, max %.1f, %d rounds)\n"
        "keystroke to row band painted   median %7.1f ms  (min %.1f, max %.1f)\n"
        "paint of six rows in talvo.exe  median %7.2f ms  (repaint %.2f less round trip %.2f, "
        "%d rounds)\n"
        "Enter to the launch logged      median %7.1f ms  (min %.1f, max %.1f, %d rounds)\n"
        "private bytes after start       %7.2f MiB reported, %7.2f MiB committed private\n"
        "private bytes after %d queries %7.2f MiB reported, %7.2f MiB committed private\n"
        "talvo.exe size                  %llu bytes (%.1f KiB)\n"
        "=================================================\n\n",
        show.median, show.low, show.high, kShowRounds, resize.median, resize.low, resize.high,
        kKeystrokeRounds, paint.median, paint.low, paint.high, repaint.median - round_trip.median,
        repaint.median, round_trip.median, kPaintRounds, launch.median, launch.low, launch.high,
        kLaunchRounds, mebibytes(bytes_at_start), mebibytes(committed_at_start), kQueries,
        mebibytes(bytes_after_queries), mebibytes(committed_after_queries), exe_size.value_or(0),
        static_cast<double>(exe_size.value_or(0)) / 1024.0);
    std::fputs(figures, stdout);
    std::fflush(stdout);
    // Kept beside the screenshots, for scripts/test to show.
    if (FILE* out = _wfopen(artifact_path(L"figures.txt").c_str(), L"w")) {
        std::fputs(figures, out);
        std::fclose(out);
    }
}

}  // namespace
}  // namespace talvo::e2e
