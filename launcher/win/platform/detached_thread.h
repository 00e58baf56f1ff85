// Starts work on a thread of its own without exceptions: std::thread reports
// a refused thread by throwing, which would bring the runtime's exception
// classes into the launcher; here a refusal is a plain false.
#pragma once

#include <windows.h>

#include <process.h>

#include <memory>
#include <new>
#include <utility>

namespace talvo::win {

template <typename Work>
bool start_detached_thread(Work work) {
    auto task = std::unique_ptr<Work>(new (std::nothrow) Work(std::move(work)));
    if (!task) {
        return false;
    }
    const auto run = [](void* argument) -> unsigned {
        const std::unique_ptr<Work> owned(static_cast<Work*>(argument));
        (*owned)();
        return 0;
    };
    const auto thread = _beginthreadex(nullptr, 0, run, task.get(), 0, nullptr);
    if (thread == 0) {
        return false;
    }
    task.release();  // the thread owns it now
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}

}  // namespace talvo::win
