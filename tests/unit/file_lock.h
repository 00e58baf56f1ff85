// Holds a file open without sharing, so every other open of it fails as it
// does on Windows when another program has it locked. POSIX has no such lock
// (and the native tests run as root), so there the lock does nothing and
// `available()` says so.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "win/platform/text_win.h"
#endif

namespace talvo::testing {

class FileLock {
  public:
#ifdef _WIN32
    explicit FileLock(const std::string& path)
        : handle_(CreateFileW(win::widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileLock() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    static constexpr bool available() {
        return true;
    }
    bool held() const {
        return handle_ != INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_;
#else
    explicit FileLock(const std::string&) {}
    static constexpr bool available() {
        return false;
    }
    bool held() const {
        return false;
    }
#endif

  public:
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
};

}  // namespace talvo::testing
