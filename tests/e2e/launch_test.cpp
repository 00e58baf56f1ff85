// What a choice starts: folders open in Explorer, an open window comes
// forward instead, the launcher's own commands quit and switch the start with
// Windows, and the diagnostic mode lists what it sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "launcher_fixture.h"
#include "polling.h"
#include "run_value_guard.h"
#include "synthetic_input.h"
#include "test_window.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Launch = LauncherTest;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring downloads_folder() {
    wchar_t* path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

std::wstring folder_name(const std::wstring& path) {
    return std::filesystem::path(path).filename().wstring();
}

// The message of the first log line that starts with `prefix`, or empty.
std::string log_line_starting(const std::wstring& log, std::string_view prefix) {
    for (const LogLine& line : log_lines(log)) {
        if (line.message.starts_with(prefix)) {
            return line.message;
        }
    }
    return {};
}

std::optional<std::wstring> run_value() {
    wchar_t data[2048] = {};
    DWORD bytes = sizeof data;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Talvo", RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(data);
}

std::string handle_text(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
}

// Backslashes and double quotes escaped, as the diagnostic lines write texts.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out;
}

std::wstring own_program_path() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    return module;
}

void delete_run_value() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Talvo");
}

TEST_F(Launch, EnterOpensTheFolderAndLogsTheShellsAnswer) {
    const std::wstring downloads = downloads_folder();
    ASSERT_FALSE(downloads.empty());
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] {
        return find_process_window(0, kWineExplorerClass, folder_name(downloads).c_str()) !=
               nullptr;
    })) << "an Explorer window on "
        << utf8(downloads);
    ASSERT_TRUE(wait_until([&] { return !log_line_starting(log_path(), "lancement ").empty(); }));
    const std::string line = log_line_starting(log_path(), "lancement ");
    const std::string expected =
        "lancement dir:downloads → " + utf8(downloads) + " (ShellExecute = ";
    ASSERT_TRUE(line.starts_with(expected)) << line;
    EXPECT_GT(std::stoi(line.substr(expected.size())), 32) << line;
    EXPECT_TRUE(launcher_->running()) << "the launcher goes on";
}

TEST_F(Launch, CtrlEnterOpensTheParentFolderAndLogsNothing) {
    const std::filesystem::path downloads = downloads_folder();
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    press_with_ctrl(VK_RETURN);
    const std::wstring parent = downloads.parent_path().filename().wstring();
    EXPECT_TRUE(wait_until([&] {
        return find_process_window(0, kWineExplorerClass, parent.c_str()) != nullptr;
    })) << "an Explorer window on "
        << utf8(parent);
    EXPECT_TRUE(wait_history(1));
    EXPECT_EQ(log_line_starting(log_path(), "lancement "), "") << "showing a file is not a launch";
}

TEST_F(Launch, AnOpenExplorerWindowComesForwardInsteadOfANewOne) {
    const TestWindow explorer(L"CabinetWClass", L"Documents");
    // Another program is active: the Explorer window is behind it until the launcher acts.
    const TestWindow other(L"TalvoE2eProgram", L"Autre programme");
    SetForegroundWindow(other.hwnd());
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other.hwnd(); }));
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"explorateur");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == explorer.hwnd(); }));
    EXPECT_TRUE(wait_until([&] {
        return log_has(log_path(), "déjà ouvert : dir:explorer → fenêtre ramenée au premier plan");
    }));
    EXPECT_TRUE(stays_false([] { return find_process_window(0, kWineExplorerClass) != nullptr; },
                            std::chrono::milliseconds(800)))
        << "no new Explorer window";
    EXPECT_EQ(log_line_starting(log_path(), "lancement "), "");
}

TEST_F(Launch, TheQuitCommandEndsTheLauncherWithStatusZero) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"quitter");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_exit(0));
    EXPECT_EQ(any_talvo_window(), nullptr);
}

// The command's name says what Enter will do: a reader reads it, row by row,
// for the query typed, before and after each switch.
TEST_F(Launch, TheAutostartCommandWritesTheRunValueAndRenamesItself) {
    const testing::RunValueGuard restore_run_value;
    delete_run_value();
    const std::string off_name = "Lancer Talvo au démarrage de Windows";
    const std::string on_name = "Ne plus lancer Talvo au démarrage";
    const struct {
        std::string name_before;
        std::optional<std::wstring> value_after;
    } steps[] = {
        {off_name, L"\"" + talvo_exe_path() + L"\" --hidden"},
        {on_name, std::nullopt},
    };
    ASSERT_TRUE(start(L"--hidden"));
    for (const auto& step : steps) {
        press_alt_space();
        ASSERT_TRUE(wait_shown());
        type_text(L"demarrage");
        ASSERT_TRUE(wait_rows_named("demarrage", {step.name_before}));
        press_key(VK_RETURN);
        EXPECT_TRUE(wait_until([&] { return run_value() == step.value_after; }))
            << step.name_before << ": " << utf8(run_value().value_or(L"<none>"));
        ASSERT_TRUE(wait_hidden());
    }
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    type_text(L"demarrage");
    EXPECT_TRUE(wait_rows_named("demarrage", {off_name})) << "back to its first name";
}

TEST_F(Launch, DiagFocusListsTheWindowsWhileALauncherRuns) {
    const TestWindow program(L"TalvoE2eProgram", L"Programme « test »");
    const TestWindow explorer(L"CabinetWClass", L"Bureau");
    ASSERT_TRUE(start(L"--hidden"));
    const auto diag = LauncherProcess::start(appdata_.path(), L"--hidden --diag-focus");
    ASSERT_TRUE(diag);
    EXPECT_EQ(diag->wait_for_exit(std::chrono::milliseconds(15000)), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindowVisible(popup_)) << "nothing was handed to the running launcher";
    EXPECT_TRUE(launcher_->running());

    std::vector<std::string> diag_lines;
    for (const LogLine& line : log_lines(log_path())) {
        if (line.process_id == diag->id()) {
            diag_lines.push_back(line.message);
        }
    }
    ASSERT_FALSE(diag_lines.empty());
    EXPECT_EQ(diag_lines.back(), "diag-focus : terminé");
    const std::string window_line =
        std::string("diag-focus fenêtre : ") + handle_text(program.hwnd()) +
        " [TalvoE2eProgram] « Programme « test » » aumid=None exe=Some(\"" +
        escaped(utf8(own_program_path())) + "\")";
    const std::string found_line =
        "diag-focus : Explorateur de fichiers (dir:explorer) → fenêtre " +
        handle_text(explorer.hwnd());
    for (const std::string& line : {window_line, found_line}) {
        EXPECT_NE(std::find(diag_lines.begin(), diag_lines.end(), line), diag_lines.end()) << line;
    }
    for (const std::string& line : diag_lines) {
        EXPECT_TRUE(line.starts_with("diag-focus")) << "only the diagnostic lines: " << line;
    }
}

}  // namespace
}  // namespace talvo::e2e
