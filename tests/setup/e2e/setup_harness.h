// What the end-to-end tests of the setup stand on: a scratch user profile, the
// setup program started in it, its message boxes answered as a user would,
// and readbacks of what it left on the machine.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"

namespace talvo::setup_e2e {

inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Talvo";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring setup_exe_path();

// LOCALAPPDATA and APPDATA of a user whose folder names hold spaces and
// non-ASCII letters, with the Start Menu's Programs folder every profile has.
// Removed with everything in it.
class ScratchProfile {
  public:
    ScratchProfile();
    ~ScratchProfile();
    ScratchProfile(const ScratchProfile&) = delete;
    ScratchProfile& operator=(const ScratchProfile&) = delete;

    std::wstring root;
    std::wstring local;    // LOCALAPPDATA
    std::wstring roaming;  // APPDATA
    std::wstring install_folder;
    std::wstring launcher;
    std::wstring uninstaller;
    std::wstring shortcut;
    std::wstring data_folder;
};

// Which of the two variables the setup is given.
enum class Variables { Both, NoLocalAppData, NoAppData };

class SetupProcess {
  public:
    // Starts `exe` (the built setup by default) with the profile's variables,
    // in `folder` (the profile's root by default); null on failure.
    static std::unique_ptr<SetupProcess> start(const ScratchProfile& profile,
                                               const std::wstring& arguments,
                                               Variables variables = Variables::Both,
                                               const std::wstring& exe = setup_exe_path(),
                                               const std::wstring& folder = {});
    ~SetupProcess() { process_.terminate(99); }
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    DWORD id() const { return process_.id(); }
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const {
        return process_.wait_for_exit(timeout);
    }

  private:
    explicit SetupProcess(testing::ChildProcess process) : process_(std::move(process)) {}
    testing::ChildProcess process_;
};

// A message box of the setup as the user sees it.
struct Box {
    HWND dialog = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // IDOK, IDYES, IDNO... in that order, as shown
    bool in_foreground = false;
    int icon = 0;  // see box_icon
};

// The next message box of `process` other than `previous`, once it is shown.
std::optional<Box> wait_for_box(DWORD process, HWND previous = nullptr);
// The system icon the box shows (IDI_QUESTION, IDI_INFORMATION, IDI_ERROR or
// IDI_WARNING as a number), found by drawing each as the box does and comparing
// with the screen; 0 when none matches.
int box_icon(const Box& box);
// Clicks a button of the box.
void press(const Box& box, int button);
// Whether `process` shows any visible top-level window before it ends. It
// stops looking after 20 s: the caller then finds the process still running.
bool shows_a_window_until_exit(const SetupProcess& process);

std::optional<std::string> file_bytes(const std::wstring& path);
bool exists(const std::wstring& path);

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};
std::optional<RegistryValue> registry_value(const wchar_t* key, const wchar_t* name);
std::optional<DWORD> value_count(const wchar_t* key);  // nothing when the key is missing
RegistryValue string_value(const std::wstring& text);  // REG_SZ bytes with the zero
RegistryValue dword_value(DWORD value);
void clean_registry();  // the uninstall key and the Run value

// For its lifetime the uninstall key and the Run value are the setup's: both
// are removed at the start and at the end, and a Run value found at the start
// is put back at the end, whatever happened in between.
class RegistryScope {
  public:
    RegistryScope();
    ~RegistryScope();
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

  private:
    std::optional<RegistryValue> previous_run_value_;
};

struct Shortcut {
    std::wstring target;
    std::wstring working_folder;
    std::wstring description;
    std::wstring arguments;
    std::wstring icon_file;
    int icon_index = -1;
};
std::optional<Shortcut> read_shortcut(const std::wstring& path);

// Processes running the program at `image_path` (any spelling of it).
std::vector<DWORD> processes_of(const std::wstring& image_path);
void end_processes_of(const std::wstring& image_path);

// Every test: its own profile, the registry clean before and after, and no
// launcher of the profile left running.
class SetupTest : public ::testing::Test {
  protected:
    void TearDown() override;

    // Runs the setup to its end; its exit status, or nothing after 20 s.
    std::optional<DWORD> run(const std::wstring& arguments, Variables variables = Variables::Both,
                             const std::wstring& exe = setup_exe_path());

    RegistryScope registry_;  // restored after the profile's launchers have ended
    ScratchProfile profile_;
};

}  // namespace talvo::setup_e2e
