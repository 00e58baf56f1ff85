// The window-menu command: Alt+Space is Talvo's, but "menu" and Enter open the
// window menu of the window that was in front, as Windows' own Alt+Space does.
#include <thread>

#include "data_files.h"
#include "launcher_fixture.h"
#include "polling.h"
#include "synthetic_input.h"

namespace talvo::e2e {
namespace {

constexpr wchar_t kMenuClass[] = L"#32768";

LRESULT CALLBACK program_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// A program's main window with a message loop of its own, on its own thread,
// as another program has: the window menu's modal loop runs there.
class ProgramWindow {
  public:
    explicit ProgramWindow(const wchar_t* title) {
        HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, title, created] {
            WNDCLASSW window_class{};
            window_class.lpfnWndProc = program_procedure;
            window_class.hInstance = GetModuleHandleW(nullptr);
            window_class.lpszClassName = L"TalvoE2eMenuProgram";
            RegisterClassW(&window_class);  // already registered by an earlier test: fine
            hwnd_ =
                CreateWindowExW(0, window_class.lpszClassName, title, WS_OVERLAPPEDWINDOW, 200, 150,
                                500, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            ShowWindow(hwnd_, SW_SHOWNORMAL);
            SetEvent(created);
            MSG message{};
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        });
        WaitForSingleObject(created, 5000);
        CloseHandle(created);
    }
    ~ProgramWindow() {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
    std::thread thread_;
};

struct OpenMenu {
    HWND window = nullptr;
    DWORD process = 0;
};

BOOL CALLBACK find_open_menu(HWND window, LPARAM found) {
    wchar_t name[16]{};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && std::wstring_view(name) == kMenuClass) {
        auto* menu = reinterpret_cast<OpenMenu*>(found);
        menu->window = window;
        GetWindowThreadProcessId(window, &menu->process);
        return FALSE;
    }
    return TRUE;
}

OpenMenu open_menu() {
    OpenMenu menu;
    EnumWindows(find_open_menu, reinterpret_cast<LPARAM>(&menu));
    return menu;
}

using WindowMenu = LauncherTest;

TEST_F(WindowMenu, MenuAndEnterOpenTheMenuOfTheWindowThatWasInFront) {
    const ProgramWindow program(L"Programme « menu »");
    ASSERT_NE(program.hwnd(), nullptr);
    SetForegroundWindow(program.hwnd());
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == program.hwnd(); }));
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"menu");
    ASSERT_TRUE(wait_rows_named("menu", {"Menu de la fenêtre"}));
    press_key(VK_RETURN);

    ASSERT_TRUE(wait_until([] { return open_menu().window != nullptr; })) << "a window menu opened";
    const OpenMenu menu = open_menu();
    EXPECT_EQ(menu.process, GetCurrentProcessId()) << "the program's menu, not the launcher's";
    RECT frame{}, shown{};
    GetWindowRect(program.hwnd(), &frame);
    GetWindowRect(menu.window, &shown);
    EXPECT_TRUE(PtInRect(&frame, POINT{shown.left, shown.top}))
        << "opens at the window's top-left, at " << shown.left << "," << shown.top;
    EXPECT_TRUE(wait_hidden());
    EXPECT_TRUE(
        wait_until([&] { return log_has(log_path(), "menu de la fenêtre : Programme « menu »"); }));

    press_key(VK_ESCAPE);
    EXPECT_TRUE(wait_until([] { return open_menu().window == nullptr; })) << "Escape closes it";
    EXPECT_EQ(GetForegroundWindow(), program.hwnd()) << "the program is still the active one";
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history().back().key(), "cmd:windowmenu") << "the command learns like any other";
}

}  // namespace
}  // namespace talvo::e2e
