// What the Win32-layer tests of the popup stand on: a state record with a
// query and rows, and a scratch APPDATA whose log can be read back.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/catalog/catalog.h"
#include "patient_removal.h"
#include "win/shell/app_state.h"

namespace talvo::win {

// A popup's state with `rows` folder rows for `query`, drawn in `hwnd`.
inline std::unique_ptr<AppState> state_with(HWND hwnd, std::string query, std::size_t rows) {
    auto [requests, request_receiver] = make_channel<IconRequest>();
    auto [result_sender, results] = make_channel<IconResult>();
    auto [sender, receiver] = make_channel<Catalog>();
    auto state = std::make_unique<AppState>(std::move(requests), std::move(results),
                                            std::move(sender), std::move(receiver));
    state->hwnd = hwnd;
    state->query = std::move(query);
    for (std::size_t i = 0; i < rows; ++i) {
        state->results.push_back(
            make_entry("dir:" + std::to_string(i), "Dossier", "", LaunchTarget::open_path("C:\\")));
    }
    return state;
}

// A scratch APPDATA for the log, restored afterwards.
class ScratchLog {
  public:
    ScratchLog() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("talvo-win-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        wchar_t old[1024] = {};
        had_ = GetEnvironmentVariableW(L"APPDATA", old, 1024) > 0;
        old_ = old;
        SetEnvironmentVariableW(L"APPDATA", folder_.wstring().c_str());
    }
    ~ScratchLog() {
        SetEnvironmentVariableW(L"APPDATA", had_ ? old_.c_str() : nullptr);
        testing::remove_patiently(folder_);
    }
    ScratchLog(const ScratchLog&) = delete;
    ScratchLog& operator=(const ScratchLog&) = delete;

    std::string text() const {
        std::ifstream in(folder_ / "Talvo" / "talvo.log", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

  private:
    std::filesystem::path folder_;
    std::wstring old_;
    bool had_ = false;
};

}  // namespace talvo::win
