// When another program holds Alt+Space, the launcher says so and runs on.
#include <gtest/gtest.h>

#include <string>

#include "launcher_fixture.h"
#include "message_box.h"
#include "polling.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using TakenHotkey = LauncherTest;

constexpr int kOurHotkeyId = 0x7A1;

// Alt+Space held by this test program for the length of a scope.
class HeldAltSpace {
  public:
    HeldAltSpace()
        : held_(RegisterHotKey(nullptr, kOurHotkeyId, MOD_ALT | MOD_NOREPEAT, VK_SPACE)) {}
    ~HeldAltSpace() {
        if (held_) {
            UnregisterHotKey(nullptr, kOurHotkeyId);
        }
    }
    HeldAltSpace(const HeldAltSpace&) = delete;
    HeldAltSpace& operator=(const HeldAltSpace&) = delete;
    bool held() const { return held_; }

  private:
    bool held_;
};

TEST_F(TakenHotkey, WarnsInABoxAndStillShowsThePopup) {
    const HeldAltSpace taken;
    ASSERT_TRUE(taken.held()) << "this program could not take Alt+Space first";
    ASSERT_TRUE(start());
    EXPECT_TRUE(log_has(log_path(), "Alt+Espace : DÉJÀ PRIS"));

    const HWND box = wait_talvo_box(launcher_->id());
    ASSERT_NE(box, nullptr) << "no warning box titled Talvo";
    const std::string text = utf8(message_box_text(box));
    EXPECT_EQ(text,
              "Le raccourci Alt+Espace est déjà utilisé par une autre application (PowerToys "
              "Run, Copilot…).\n\nClique sur l'icône T dans la zone de notification pour "
              "ouvrir Talvo.");
    EXPECT_FALSE(IsWindowVisible(popup_)) << "start-up waits for the box";

    EXPECT_TRUE(answer_box(box, IDOK));
    EXPECT_TRUE(wait_shown()) << "after the box, start-up goes on and shows the popup";
    EXPECT_TRUE(launcher_->running());
}

}  // namespace
}  // namespace talvo::e2e
