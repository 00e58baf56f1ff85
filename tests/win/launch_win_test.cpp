// Launching and window finding against real windows under Wine: which windows
// count as switchable, which belongs to an entry, bringing one forward, and
// the Run value the autostart command writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/shell/platform.h"
#include "patient_removal.h"
#include "polite_end.h"
#include "popup_test_state.h"
#include "run_value_guard.h"
#include "win/launch/perform_action.h"
#include "win/launch/window_queries.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/shell/autostart.h"

#ifndef TALVO_ARTIFACTS_DIR
#define TALVO_ARTIFACTS_DIR ""
#endif

namespace talvo::win {
namespace {

constexpr wchar_t kTestClass[] = L"TalvoLaunchTestWindow";

const wchar_t* test_class() {
    static const ATOM atom = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kTestClass;
        return RegisterClassW(&window_class);
    }();
    return atom != 0 ? kTestClass : nullptr;
}

unique_hwnd make_window(const wchar_t* title, DWORD ex_style = 0, HWND owner = nullptr,
                        bool visible = true) {
    const HWND hwnd = CreateWindowExW(ex_style, test_class(), title, WS_OVERLAPPEDWINDOW, 40, 40,
                                      200, 120, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr && visible) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    return unique_hwnd(hwnd);
}

bool listed(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

void pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

std::string own_path() {
    return system_platform().system.executable_path().value_or("");
}

CatalogEntry own_entry() {
    CatalogEntry entry = make_entry("app:talvo-launch-test", "Test", "",
                                    LaunchTarget::open_path("shell:AppsFolder\\talvo-launch-test"));
    entry.exe_path = own_path();
    return entry;
}

std::optional<HWND> found_for(const CatalogEntry& entry) {
    SystemWindowQueries queries;
    const std::optional<WindowHandle> window = find_open_window(entry, queries);
    return window ? std::optional(to_hwnd(*window)) : std::nullopt;
}

TEST(SwitchableWindows, OnlyVisibleTitledUnownedNonToolWindows) {
    const unique_hwnd switchable = make_window(L"Fenêtre de test");
    const unique_hwnd untitled = make_window(L"");
    const unique_hwnd owned = make_window(L"Possédée", 0, switchable.get());
    const unique_hwnd tool = make_window(L"Outil", WS_EX_TOOLWINDOW);
    const unique_hwnd hidden = make_window(L"Cachée", 0, nullptr, false);
    pump();
    const std::vector<HWND> windows = list_switchable_windows();
    EXPECT_TRUE(listed(windows, switchable.get()));
    EXPECT_FALSE(listed(windows, untitled.get()));
    EXPECT_FALSE(listed(windows, owned.get()));
    EXPECT_FALSE(listed(windows, tool.get()));
    EXPECT_FALSE(listed(windows, hidden.get()));
    EXPECT_EQ(window_title(switchable.get()), "Fenêtre de test");
    EXPECT_EQ(window_class_name(switchable.get()), "TalvoLaunchTestWindow");
    EXPECT_EQ(window_process_path(switchable.get()), own_path());
    EXPECT_FALSE(window_package_family(switchable.get()));
}

TEST(SwitchableWindows, BrokenTitlesAndVanishedWindowsGiveEmptyAnswers) {
    unique_hwnd window = make_window(L"x");
    const wchar_t broken[] = {L'a', 0xD800, L'b', 0};  // an unpaired surrogate
    SetWindowTextW(window.get(), broken);
    EXPECT_EQ(window_title(window.get()),
              "a\xEF\xBF\xBD"
              "b");
    const HWND gone = window.get();
    window.reset();
    EXPECT_EQ(window_title(gone), "");
    EXPECT_EQ(window_class_name(gone), "");
    EXPECT_FALSE(window_app_id(gone));
    EXPECT_FALSE(window_process_path(gone));
    EXPECT_FALSE(window_package_family(gone));
    EXPECT_EQ(window_cloaked(gone), 0u);
}

TEST(FindOpenWindow, TheProgramsHigherWindowIsFoundByItsPath) {
    const unique_hwnd first = make_window(L"Premier");
    const unique_hwnd second = make_window(L"Second");
    for (const HWND top : {second.get(), first.get()}) {
        SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // Under a window manager the new order arrives with its answer.
        for (int i = 0; i < 100 && list_switchable_windows().front() != top; ++i) {
            pump();
            Sleep(10);
        }
        EXPECT_EQ(found_for(own_entry()), top);
    }

    CatalogEntry elsewhere = own_entry();
    elsewhere.exe_path = "C:\\nowhere\\other.exe";
    EXPECT_FALSE(found_for(elsewhere));
}

// A process the test started, ended on every path out of the test.
class EndedOnExit {
  public:
    explicit EndedOnExit(HANDLE process) : process_(process) {}
    ~EndedOnExit() { testing::end_politely(process_.get()); }
    EndedOnExit(const EndedOnExit&) = delete;
    EndedOnExit& operator=(const EndedOnExit&) = delete;
    HANDLE get() const { return process_.get(); }

  private:
    unique_handle process_;
};

// Wine's explorer.exe is a generic host: its window is not an application's,
// even for an entry whose path is exactly that program's.
TEST(FindOpenWindow, AGenericHostIsNotMatchedByPath) {
    std::wstring parameters = L"\"" + std::filesystem::temp_directory_path().wstring();
    while (parameters.ends_with(L"\\")) {
        parameters.pop_back();  // a backslash before the closing quote would escape it
    }
    parameters += L"\"";
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpFile = L"explorer.exe";
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&execute) && execute.hProcess != nullptr);
    const EndedOnExit process(execute.hProcess);
    const DWORD process_id = GetProcessId(process.get());
    HWND explorer = nullptr;  // the window of the Explorer just started, and no other
    for (int i = 0; i < 200 && explorer == nullptr; ++i) {
        for (const HWND window : list_switchable_windows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            explorer = owner == process_id ? window : explorer;
        }
        Sleep(25);
    }
    ASSERT_NE(explorer, nullptr) << "no explorer window appeared";
    CatalogEntry entry = own_entry();
    entry.exe_path = window_process_path(explorer);
    ASSERT_TRUE(entry.exe_path && comparable_path(*entry.exe_path).ends_with("\\explorer.exe"));
    EXPECT_FALSE(found_for(entry)) << *entry.exe_path;
}

TEST(PerformAction, EnterRestoresTheOpenWindowAndStartsNothing) {
    const ScratchLog log;
    const unique_hwnd window = make_window(L"Minimisée");
    TestLauncher test;  // its popup hidden
    ShowWindow(window.get(), SW_MINIMIZE);
    pump();
    ASSERT_TRUE(IsIconic(window.get()));

    perform_action(test.popup(), test.stats(),
                   PopupAction::launch({own_entry(), LaunchMode::Normal}));
    // The window manager maps the restored window a moment later.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (IsIconic(window.get()) && std::chrono::steady_clock::now() < deadline) {
        pump();
        Sleep(10);
    }
    EXPECT_FALSE(IsIconic(window.get()));
    EXPECT_EQ(GetForegroundWindow(), window.get());
    const std::string text = log.text();
    EXPECT_NE(text.find("déjà ouvert : app:talvo-launch-test → fenêtre ramenée au premier plan"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("lancement"), std::string::npos) << text;
}

// What the popup is sent up to its hide: the foreground handed from it to the
// found window (the popup loses the activation to it, and hides on that), and
// whether the launch was logged by the hide.
struct HandOff {
    HWND popup = nullptr;
    HWND window = nullptr;
    const ScratchLog* log = nullptr;
    std::vector<std::string> steps;
    bool hidden = false;
};
HandOff* hand_off = nullptr;

void record_step(const CWPSTRUCT& sent, HandOff& seen) {
    if (sent.hwnd != seen.popup || seen.hidden) {
        return;
    }
    const bool handed_to_window = sent.message == WM_ACTIVATE &&
                                  LOWORD(sent.wParam) == WA_INACTIVE &&
                                  reinterpret_cast<HWND>(sent.lParam) == seen.window;
    if (handed_to_window) {
        seen.steps.push_back("forward");
    }
    if (sent.message == WM_SHOWWINDOW && sent.wParam == FALSE) {
        if (GetForegroundWindow() == seen.window &&
            (seen.steps.empty() || seen.steps.back() != "forward")) {
            seen.steps.push_back("forward");
        }
        const bool logged = seen.log->text().find("lancement") != std::string::npos;
        seen.steps.push_back(logged ? "hide after the start" : "hide before the start");
        seen.hidden = true;
    }
}

LRESULT CALLBACK record_hand_off(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && hand_off != nullptr) {
        record_step(*reinterpret_cast<const CWPSTRUCT*>(lparam), *hand_off);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// A found window comes forward while the popup still has the foreground, and
// the popup hides after; a program started by the shell starts after the hide.
TEST(PerformAction, TheForegroundIsHandedOnBeforeThePopupHides) {
    const ScratchLog log;
    const struct {
        const char* name;
        LaunchMode mode;
        std::vector<std::string> steps;
    } cases[] = {
        {"an open window", LaunchMode::Normal, {"forward", "hide before the start"}},
        {"a new copy, started by the shell", LaunchMode::NewInstance, {"hide before the start"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const unique_hwnd window = make_window(L"Ouverte");
        TestLauncher test;
        const HWND popup = test.hwnd();
        test.ui().popup.borrow()->visible = true;
        ShowWindow(popup, SW_SHOW);
        SetForegroundWindow(popup);
        for (int i = 0; i < 200 && GetForegroundWindow() != popup; ++i) {
            pump();
            Sleep(10);
        }
        ASSERT_EQ(GetForegroundWindow(), popup) << "the popup has the foreground";
        HandOff recorded{popup, window.get(), &log, {}};
        hand_off = &recorded;
        const HHOOK hook =
            SetWindowsHookExW(WH_CALLWNDPROC, record_hand_off, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        perform_action(test.popup(), test.stats(), PopupAction::launch({own_entry(), c.mode}));
        pump();
        UnhookWindowsHookEx(hook);
        hand_off = nullptr;
        EXPECT_EQ(recorded.steps, c.steps);
    }
}

std::optional<std::wstring> run_value(DWORD& type, DWORD& bytes) {
    wchar_t data[2048] = {};
    bytes = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     L"Talvo", RRF_RT_ANY | RRF_NOEXPAND, &type, data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void put_run_value(DWORD type, const std::wstring& data) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    L"Talvo", type, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

TEST(Autostart, ToggleWritesTheQuotedPathAndFollowsTheRegistry) {
    const testing::RunValueGuard restore_run_value;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       L"Talvo");
    const std::wstring expected = L"\"" + widen(own_path()) + L"\" --hidden";
    DWORD type = 0;
    DWORD bytes = 0;
    TestLauncher test;
    const auto toggle_autostart = [&] { win::toggle_autostart(test.ui()); };

    ASSERT_FALSE(autostart_enabled());
    toggle_autostart();
    EXPECT_TRUE(autostart_enabled());
    EXPECT_EQ(run_value(type, bytes), expected);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, (expected.size() + 1) * sizeof(wchar_t)) << "with the terminating zero";
    toggle_autostart();
    EXPECT_FALSE(autostart_enabled());
    EXPECT_FALSE(run_value(type, bytes));

    put_run_value(REG_EXPAND_SZ, L"%LOCALAPPDATA%\\x.exe");  // another type counts as absent
    EXPECT_FALSE(autostart_enabled());
    toggle_autostart();
    EXPECT_EQ(run_value(type, bytes), expected);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    put_run_value(REG_SZ, L"\"C:\\ailleurs\\talvo.exe\" --hidden");  // another path is present
    EXPECT_TRUE(autostart_enabled());
    toggle_autostart();
    EXPECT_FALSE(run_value(type, bytes));
}

// Printed for the record: one search over 100 switchable windows of this
// program, none of them the entry's, each asked for its process path.
TEST(Figures, FindOpenWindowOverAHundredWindows) {
    std::vector<unique_hwnd> windows;
    for (int i = 0; i < 100; ++i) {
        windows.push_back(make_window((L"Fenêtre " + std::to_wstring(i)).c_str()));
    }
    pump();
    ASSERT_GE(list_switchable_windows().size(), 100u);
    CatalogEntry entry = own_entry();
    entry.exe_path = "C:\\nowhere\\other.exe";
    std::vector<double> samples;
    for (int round = 0; round < 21; ++round) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(found_for(entry));
        samples.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(samples.begin(), samples.end());
    char line[160];
    std::snprintf(
        line, sizeof line,
        "find_open_window, 100 windows  median %7.2f ms  (min %.2f, max %.2f, 21 rounds)\n",
        samples[samples.size() / 2], samples.front(), samples.back());
    std::fputs(line, stdout);
    const std::filesystem::path folder = TALVO_ARTIFACTS_DIR;
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        std::ofstream(folder / "launch-figures.txt") << line;
    }
}

}  // namespace
}  // namespace talvo::win
