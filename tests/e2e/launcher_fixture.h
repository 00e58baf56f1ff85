// The fixture every scenario starts from: a launcher of its own with an empty
// data folder, and the checks a user makes by looking at the popup.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_files.h"
#include "launcher_process.h"

namespace talvo::e2e {

// What the popup looks like at 96 DPI.
namespace look {
inline constexpr COLORREF kBackground = 0x262626;
inline constexpr COLORREF kQueryBox = 0x1C1C1C;
inline constexpr COLORREF kAccent = 0x877F35;  // #357F87: logo tile and selection band
inline constexpr int kWidth = 720;
inline constexpr int kRowsTop = 84;
inline constexpr int kRowHeight = 54;
inline constexpr int kMaxRows = 6;

constexpr int height_for_rows(int rows) {
    return rows == 0 ? 86 : 96 + kRowHeight * rows;
}
}  // namespace look

// Under Wine the folders a launch opens show in windows of this class (the
// class of a Windows Explorer window is "CabinetWClass").
inline constexpr wchar_t kWineExplorerClass[] = L"ExplorerWClass";

// Where the popup should open: centred in the work area of the pointer's
// monitor, its top at 22 % of the work-area height.
POINT expected_origin();

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts talvo.exe and waits until its window exists and its hotkey line is logged.
    ::testing::AssertionResult start(const std::wstring& arguments = L"");
    // Shown means visible, in the foreground and painted (panel and logo tile on screen).
    ::testing::AssertionResult wait_shown();
    // Hidden means the launcher still runs and its window exists, invisible.
    ::testing::AssertionResult wait_hidden();
    // Waits for the launcher to end with `status`; a test that does not call
    // this fails in TearDown when the launcher ended on its own.
    ::testing::AssertionResult wait_exit(DWORD status);
    // Waits for the window height of `rows` result rows.
    ::testing::AssertionResult wait_rows(int rows);
    // Waits until a screen reader reads `query` as the query and these row names:
    // the rows of this very query, whatever was shown before.
    ::testing::AssertionResult wait_rows_named(std::string_view query,
                                               const std::vector<std::string>& names);
    // Waits until the selection band is drawn on `row`.
    ::testing::AssertionResult wait_selected(int row);
    // Waits until history.tsv holds `count` lines.
    ::testing::AssertionResult wait_history(std::size_t count);

    bool shown() const;
    // The number of rows the window height makes room for; nothing for another height.
    std::optional<int> rows_by_height() const;
    // The row whose band region has the accent colour.
    std::optional<int> selected_row() const;
    // A point of the popup, from its top-left corner, in screen coordinates.
    POINT popup_point(int x, int y) const;
    // The middle of a row, over its name.
    POINT row_point(int row) const;

    std::vector<HistoryLine> history() const;
    std::wstring log_path() const;
    std::wstring data_file(const wchar_t* name) const;
    // Saves the popup as it is on screen to the artifacts folder; the path or empty.
    std::wstring save_popup_screenshot(const std::wstring& name) const;

    ScratchAppData appdata_;
    std::unique_ptr<LauncherProcess> launcher_;
    HWND popup_ = nullptr;

  private:
    bool exit_expected_ = false;
    std::size_t history_at_start_ = 0;
};

}  // namespace talvo::e2e
