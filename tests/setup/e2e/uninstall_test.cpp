// Uninstalling: silently and with its questions; what goes, what stays, and
// the install folder removed after the uninstaller has ended.
#include <filesystem>
#include <fstream>

#include "patient_removal.h"
#include "polling.h"
#include "setup_harness.h"
#include "text_paths.h"

namespace talvo::setup_e2e {
namespace {

using namespace std::chrono_literals;

void write_file(const std::wstring& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(std::filesystem::path(path)) << "garder\n";
}

bool folder_removed_soon(const std::wstring& folder) {
    return e2e::wait_until([&] { return !exists(folder); }, 10s);
}

class Uninstall : public SetupTest {
  protected:
    void SetUp() override {
        SetupTest::SetUp();
        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
        ASSERT_TRUE(e2e::wait_until([&] { return !processes_of(profile_.launcher).empty(); }));
    }

    // What an uninstall must not touch, next to what it removes.
    std::vector<std::wstring> neighbours() const {
        return {profile_.local + L"\\Programs\\Autre\\garder.txt",
                profile_.roaming + L"\\Microsoft\\Windows\\Start Menu\\Programs\\Autre.lnk",
                profile_.roaming + L"\\Talvo2\\garder.txt"};
    }

    void expect_footprint_gone() const {
        EXPECT_TRUE(processes_of(profile_.launcher).empty());
        EXPECT_FALSE(exists(profile_.launcher));
        EXPECT_FALSE(exists(profile_.shortcut));
        EXPECT_EQ(registry_value(kRunKey, L"Talvo"), std::nullopt);
        EXPECT_EQ(value_count(kUninstallKey), std::nullopt);
        EXPECT_TRUE(folder_removed_soon(profile_.install_folder));
        for (const std::wstring& path : neighbours()) {
            EXPECT_TRUE(exists(path)) << e2e::utf8(path);
        }
    }
};

TEST_F(Uninstall, SilentUninstallRemovesTheFootprintAndKeepsTheData) {
    const std::wstring history = profile_.data_folder + L"\\history.tsv";
    write_file(history);
    for (const std::wstring& path : neighbours()) {
        write_file(path);
    }
    EXPECT_EQ(run(L"/uninstall /S", Variables::Both, profile_.uninstaller),
              std::optional<DWORD>(0));
    expect_footprint_gone();
    EXPECT_TRUE(exists(history));
}

TEST_F(Uninstall, QuestionsAskForTheHistoryOnlyWhenThereIsOne) {
    const struct {
        const char* name;
        bool data_folder;
        std::vector<std::pair<std::wstring, int>> boxes;  // text and answer, in order
        bool uninstalled;
    } cases[] = {
        {"data folder deleted",
         true,
         {{L"Désinstaller Talvo ?", IDYES},
          {L"Supprimer aussi l'historique d'apprentissage de Talvo (tes habitudes de "
           L"lancement) ?",
           IDYES},
          {L"Talvo a été désinstallé.", IDOK}},
         true},
        {"no data folder",
         false,
         {{L"Désinstaller Talvo ?", IDYES}, {L"Talvo a été désinstallé.", IDOK}},
         true},
        {"declined", true, {{L"Désinstaller Talvo ?", IDNO}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
        end_processes_of(profile_.launcher);  // it would write its data folder again
        testing::remove_patiently(profile_.data_folder);
        if (c.data_folder) {
            write_file(profile_.data_folder + L"\\history.tsv");
        }
        for (const std::wstring& path : neighbours()) {
            write_file(path);
        }
        const auto setup =
            SetupProcess::start(profile_, L"--uninstall", Variables::Both, profile_.uninstaller);
        ASSERT_NE(setup, nullptr);
        HWND previous = nullptr;
        for (const auto& [text, answer] : c.boxes) {
            const std::optional<Box> box = wait_for_box(setup->id(), previous);
            ASSERT_TRUE(box.has_value()) << e2e::utf8(text);
            EXPECT_EQ(box->caption, L"Talvo");
            EXPECT_EQ(box->text, text);
            const std::vector<int> buttons =
                answer == IDOK ? std::vector<int>{IDOK} : std::vector<int>{IDYES, IDNO};
            EXPECT_EQ(box->buttons, buttons);
            EXPECT_EQ(box->icon, answer == IDOK ? 32516 : 32514) << "information or question";
            press(*box, answer);
            previous = box->dialog;
        }
        EXPECT_EQ(setup->wait_for_exit(e2e::kWait), std::optional<DWORD>(0));
        if (c.uninstalled) {
            expect_footprint_gone();
            EXPECT_FALSE(exists(profile_.data_folder));
        } else {
            EXPECT_TRUE(exists(profile_.launcher));
            EXPECT_EQ(value_count(kUninstallKey), std::optional<DWORD>(10));
        }
    }
}

}  // namespace
}  // namespace talvo::setup_e2e
