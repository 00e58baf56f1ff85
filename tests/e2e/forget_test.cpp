// Making Talvo forget an entry from the popup: Ctrl+Shift+Delete on a learnt
// row removes its launches from history.tsv, every other line stays byte for
// byte, and a rewrite that fails says so in a box and changes nothing.
#include <filesystem>

#include "data_files.h"
#include "launcher_fixture.h"
#include "message_box.h"
#include "polling.h"
#include "synthetic_input.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Forget = LauncherTest;

TEST_F(Forget, CtrlShiftDeleteForgetsTheRowAndKeepsEveryOtherLine) {
    const std::string kept = "pas une ligne\n" + launch_line("dir:music", "mus");
    write_file(data_file(L"history.tsv"),
               launch_line("dir:downloads", "telech") + kept + launch_line("dir:downloads", "tel"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    ASSERT_TRUE(wait_rows_named("", {"Téléchargements", "Musique"}));
    press_with_ctrl_shift(VK_DELETE);

    EXPECT_TRUE(wait_rows_named("", {"Musique"})) << "the row leaves the suggestions at once";
    EXPECT_EQ(read_file(data_file(L"history.tsv")), kept);
    EXPECT_TRUE(log_has(log_path(), "oublié : dir:downloads (2 lancements)"));
    EXPECT_EQ(read_file(data_file(L"hidden.txt")), "") << "forgotten, not hidden";
    type_text(L"telech");
    EXPECT_TRUE(wait_rows_named("telech", {"Téléchargements"})) << "typing still finds it";
}

TEST_F(Forget, AFailedRewriteSaysSoAndKeepsTheFileWhole) {
    const std::string original = launch_line("dir:music", "mus");
    write_file(data_file(L"history.tsv"), original);
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    ASSERT_TRUE(wait_rows_named("", {"Musique"}));
    // The rewrite's temporary file cannot be created, as on a full disk.
    std::filesystem::create_directory(std::filesystem::path(data_file(L"history.tsv")) +=
                                      L".tmp" + std::to_wstring(launcher_->id()));
    press_with_ctrl_shift(VK_DELETE);

    const HWND box = wait_talvo_box(launcher_->id());
    ASSERT_NE(box, nullptr) << "a warning box titled Talvo";
    EXPECT_EQ(utf8(message_box_text(box)).rfind("Talvo n'a pas pu effacer l'historique : ", 0), 0u)
        << utf8(message_box_text(box));
    EXPECT_TRUE(wait_hidden()) << "the box deactivated the popup";
    EXPECT_TRUE(answer_box(box, IDOK));
    EXPECT_TRUE(stays_false([&] { return IsWindowVisible(popup_) != FALSE; },
                            std::chrono::milliseconds(500)))
        << "and it stays hidden";
    EXPECT_EQ(read_file(data_file(L"history.tsv")), original);
    std::filesystem::remove(std::filesystem::path(data_file(L"history.tsv")) +=
                            L".tmp" + std::to_wstring(launcher_->id()));
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(wait_rows_named("", {"Musique"})) << "the memory stays as the file is";
}

}  // namespace
}  // namespace talvo::e2e
