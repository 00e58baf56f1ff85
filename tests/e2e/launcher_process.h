// A talvo.exe started by a test, with its own data folder, ended by handle.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "child_process.h"

namespace talvo::e2e {

// A fresh folder that stands in for APPDATA; removed with everything in it.
class ScratchAppData {
  public:
    ScratchAppData();
    ~ScratchAppData();
    ScratchAppData(const ScratchAppData&) = delete;
    ScratchAppData& operator=(const ScratchAppData&) = delete;

    const std::wstring& path() const { return path_; }
    // A file of the launcher's data folder (APPDATA\Talvo).
    std::wstring data_file(const wchar_t* name) const;

  private:
    std::wstring path_;
};

class LauncherProcess {
  public:
    // Starts talvo.exe with APPDATA set to `appdata` and the given arguments;
    // null when the process cannot be created.
    static std::unique_ptr<LauncherProcess> start(const std::wstring& appdata,
                                                  const std::wstring& arguments);
    // Ends the process if it still runs and waits for it.
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    DWORD id() const { return process_.id(); }
    bool running() const { return process_.running(); }
    // The exit status, or nothing when the process still runs after `timeout`.
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const {
        return process_.wait_for_exit(timeout);
    }
    // The popup window ("TalvoWindow") of this process, or null.
    HWND popup() const;
    // The statistics window ("TalvoStats") of this process, or null.
    HWND stats_window() const;
    // Private bytes of the process as the system reports them (PrivateUsage;
    // Wine leaves it at 0).
    std::optional<std::size_t> private_bytes() const;
    // The same figure counted from the process's address space: committed private regions.
    std::size_t committed_private_bytes() const;

  private:
    explicit LauncherProcess(testing::ChildProcess process) : process_(std::move(process)) {}
    testing::ChildProcess process_;
};

// A top-level window of process `id` with this class (and this title when given).
HWND find_process_window(DWORD id, const wchar_t* class_name, const wchar_t* title = nullptr);

// Any "TalvoWindow" on the desktop, whoever started it.
HWND any_talvo_window();

}  // namespace talvo::e2e
