// Ending a process a test started as a person would: its windows are asked to
// close, and it is terminated only if it is still there after a while. Once an
// Explorer was terminated, Wine opens no window for a later Explorer of the
// same folder until its session ends, which failed every later test of that
// folder when the programs ran again on one desktop.
#pragma once

#include <windows.h>

namespace talvo::testing {

namespace detail {
inline BOOL CALLBACK close_if_owned(HWND window, LPARAM process_id) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(process_id)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}
}  // namespace detail

// `process` needs SYNCHRONIZE and PROCESS_TERMINATE access. The windows are
// asked again and again: a program still starting shows its window only later.
inline void end_politely(HANDLE process, DWORD patience_ms = 5000) {
    const ULONGLONG deadline = GetTickCount64() + patience_ms;
    while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (GetTickCount64() >= deadline) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 2000);
            return;
        }
        EnumWindows(detail::close_if_owned, static_cast<LPARAM>(GetProcessId(process)));
        WaitForSingleObject(process, 50);
    }
}

}  // namespace talvo::testing
