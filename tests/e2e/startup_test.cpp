// Starting the launcher: where the popup opens, what it looks like, --hidden,
// the hotkey, and a second start handing over to the first.
#include <gtest/gtest.h>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "synthetic_input.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using namespace std::chrono_literals;

using Startup = LauncherTest;

int count_messages_starting(const std::wstring& log, std::string_view start) {
    int count = 0;
    for (const LogLine& line : log_lines(log)) {
        count += line.message.rfind(start, 0) == 0 ? 1 : 0;
    }
    return count;
}

TEST_F(Startup, ShowsAnEmptyPopupCentredHighInTheWorkArea) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());

    const RECT rect = window_rect(popup_);
    const POINT origin = expected_origin();
    EXPECT_EQ(rect.left, origin.x);
    EXPECT_EQ(rect.top, origin.y);
    EXPECT_EQ(rect.right - rect.left, 720);
    EXPECT_EQ(rect.bottom - rect.top, 86) << "no history: no suggestion rows";

    EXPECT_EQ(screen_pixel(popup_point(5, 43)), look::kBackground);
    EXPECT_EQ(screen_pixel(popup_point(700, 80)), look::kBackground);
    EXPECT_EQ(screen_pixel(popup_point(600, 20)), look::kQueryBox);
    EXPECT_EQ(screen_pixel(popup_point(662, 43)), look::kAccent);
    EXPECT_EQ(screen_pixel(popup_point(704, 60)), look::kAccent);
    save_popup_screenshot(L"popup-empty.bmp");
}

TEST_F(Startup, LogsItsStartAndTheHotkeyRegistration) {
    ASSERT_TRUE(start());
    const std::vector<LogLine> lines = log_lines(log_path());
    ASSERT_GE(lines.size(), 2u);
    for (const LogLine& line : lines) {
        EXPECT_TRUE(line.well_formed) << line.message;
        EXPECT_EQ(line.process_id, launcher_->id()) << line.message;
    }
    const std::string& started = lines[0].message;
    EXPECT_EQ(started.rfind("démarrage ", 0), 0u) << started;
    EXPECT_NE(started.find("talvo.exe []"), std::string::npos) << started;
    EXPECT_NE(started.find(" (dans un job : "), std::string::npos) << started;
    EXPECT_EQ(lines[1].message, "Alt+Espace : enregistré");
}

TEST_F(Startup, AltSpaceHidesAndShowsThePopup) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    press_alt_space();
    ASSERT_TRUE(wait_hidden());
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    press_alt_space();
    EXPECT_TRUE(wait_hidden());
}

TEST_F(Startup, HiddenStartWaitsForAltSpace) {
    ASSERT_TRUE(start(L"--hidden"));
    EXPECT_TRUE(stays_false([&] { return IsWindowVisible(popup_) != FALSE; }, 500ms));
    const std::vector<LogLine> lines = log_lines(log_path());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].message.find("talvo.exe [\"--hidden\"] (dans un job : "), std::string::npos)
        << lines[0].message;

    press_alt_space();
    ASSERT_TRUE(wait_shown());
    EXPECT_EQ(window_rect(popup_).left, expected_origin().x);
    EXPECT_EQ(window_rect(popup_).top, expected_origin().y);
}

TEST_F(Startup, SecondStartShowsTheFirstAndExits) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_FALSE(IsWindowVisible(popup_));

    const auto second = LauncherProcess::start(appdata_.path(), L"");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->wait_for_exit(kWait), std::optional<DWORD>(0));
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(launcher_->running());
    // The second process ends without logging.
    EXPECT_EQ(count_messages_starting(log_path(), "démarrage "), 1);
}

}  // namespace
}  // namespace talvo::e2e
