// A process a test started: its start with the command line, environment and
// current folder the test chose, its handle and id, and waiting for its end.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "win/platform/unique_resource.h"

namespace talvo::testing {

class ChildProcess {
  public:
    // `environment` is a Unicode environment block, or null for this process's
    // own; `folder` empty keeps this process's current folder. Nothing when the
    // process cannot be created.
    static std::optional<ChildProcess> start(const std::wstring& exe, std::wstring command_line,
                                             wchar_t* environment, const std::wstring& folder,
                                             DWORD flags) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                            flags | (environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0),
                            environment, folder.empty() ? nullptr : folder.c_str(), &startup,
                            &info)) {
            return std::nullopt;
        }
        CloseHandle(info.hThread);
        return ChildProcess(info.hProcess, info.dwProcessId);
    }

    HANDLE handle() const { return process_.get(); }
    DWORD id() const { return id_; }

    bool running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

    // The exit status, or nothing when the process still runs after `timeout`.
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const {
        DWORD status = 0;
        if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) !=
                WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.get(), &status)) {
            return std::nullopt;
        }
        return status;
    }

    // Ends it at once, if it still runs, and waits a little for the end.
    void terminate(DWORD status) const {
        if (running()) {
            TerminateProcess(process_.get(), status);
            WaitForSingleObject(process_.get(), 5000);
        }
    }

  private:
    ChildProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}

    win::unique_handle process_;
    DWORD id_ = 0;
};

}  // namespace talvo::testing
