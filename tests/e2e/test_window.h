// Windows the test program itself puts on the desktop, standing in for other
// applications' windows (an Explorer window, a program's main window).
#pragma once

#include <windows.h>

#include <chrono>

#include <string>

namespace talvo::e2e {

class TestWindow {
  public:
    // A visible, titled, top-level window of the given class, owned by this program.
    TestWindow(const std::wstring& class_name, const std::wstring& title);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

// Asks every top-level window of this class, whoever owns it, to close, and
// waits a little for them to go: the Explorer windows a launch opened. With
// `late`, a window that has not appeared yet is waited for that long.
void close_windows_of_class(const wchar_t* class_name,
                            std::chrono::milliseconds late = std::chrono::milliseconds(0));

}  // namespace talvo::e2e
