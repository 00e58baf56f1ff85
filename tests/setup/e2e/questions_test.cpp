// The install's questions as a user answers them, and spellings that are not switches.
#include <filesystem>

#include "polling.h"
#include "setup_harness.h"
#include "text_paths.h"

namespace talvo::setup_e2e {
namespace {

using Questions = SetupTest;

const std::vector<int> kYesNo = {IDYES, IDNO};
constexpr int kQuestionIcon = 32514;  // IDI_QUESTION
constexpr int kInformationIcon = 32516;

std::wstring install_question(const ScratchProfile& profile) {
    return L"Installer Talvo 0.1.0 ?\n\nTalvo s'ouvre avec Alt+Espace et lance tes applications "
           L"et dossiers.\n\nDossier : " +
           profile.install_folder + L"\nAucun droit administrateur requis.";
}

TEST_F(Questions, NoToTheInstallQuestionChangesNothingWhateverTheNonSwitches) {
    for (const wchar_t* arguments :
         {L"", L"/U -s /Uninstall --SILENT", L"\"/s \" /silent --Uninstall"}) {
        SCOPED_TRACE(e2e::utf8(arguments));
        const auto setup = SetupProcess::start(profile_, arguments);
        ASSERT_NE(setup, nullptr);
        const std::optional<Box> box = wait_for_box(setup->id());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, L"Talvo");
        EXPECT_EQ(box->text, install_question(profile_));
        EXPECT_EQ(box->buttons, kYesNo);
        EXPECT_EQ(box->icon, kQuestionIcon);
        EXPECT_TRUE(box->in_foreground);
        press(*box, IDNO);
        EXPECT_EQ(setup->wait_for_exit(e2e::kWait), std::optional<DWORD>(0));
        EXPECT_FALSE(exists(profile_.local + L"\\Programs"));
        EXPECT_EQ(value_count(kUninstallKey), std::nullopt);
    }
}

TEST_F(Questions, NoToStartAtLogOnInstallsWithoutRunValueAndRemovesAnOlderOne) {
    const std::wstring older = L"\"C:\\Ancien\\talvo.exe\" --hidden";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Talvo", REG_SZ, older.c_str(),
                              static_cast<DWORD>((older.size() + 1) * 2)),
              ERROR_SUCCESS);
    const auto setup = SetupProcess::start(profile_, L"");
    ASSERT_NE(setup, nullptr);
    const struct {
        std::wstring text;
        std::vector<int> buttons;
        int icon;
        int answer;
    } boxes[] = {
        {install_question(profile_), kYesNo, kQuestionIcon, IDYES},
        {L"Lancer Talvo automatiquement à l'ouverture de session ?\n\n(Recommandé : Alt+Espace "
         L"est alors toujours disponible.)",
         kYesNo, kQuestionIcon, IDNO},
        {L"Talvo est installé et prêt.\n\nAppuie sur Alt+Espace pour l'ouvrir.",
         {IDOK},
         kInformationIcon,
         IDOK},
    };
    HWND previous = nullptr;
    for (const auto& expected : boxes) {
        const std::optional<Box> box = wait_for_box(setup->id(), previous);
        ASSERT_TRUE(box.has_value()) << e2e::utf8(expected.text);
        EXPECT_EQ(box->caption, L"Talvo");
        EXPECT_EQ(box->text, expected.text);
        EXPECT_EQ(box->buttons, expected.buttons);
        EXPECT_EQ(box->icon, expected.icon);
        press(*box, expected.answer);
        previous = box->dialog;
    }
    EXPECT_EQ(setup->wait_for_exit(e2e::kWait), std::optional<DWORD>(0));
    EXPECT_EQ(registry_value(kRunKey, L"Talvo"), std::nullopt);
    EXPECT_EQ(value_count(kUninstallKey), std::optional<DWORD>(10));
    EXPECT_TRUE(exists(profile_.shortcut));
    EXPECT_TRUE(e2e::wait_until([&] { return processes_of(profile_.launcher).size() == 1; }));
}

}  // namespace
}  // namespace talvo::setup_e2e
