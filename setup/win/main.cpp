// Talvo-Setup.exe: a windowed program without a console; it speaks through message boxes.
#include <windows.h>

#include <shellapi.h>

#include "setup/win/setup_driver.h"
#include "win/platform/text_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Libraries loaded by name from now on (by COM, the shell link, message
    // boxes) come from System32 only, never from the folder the setup was
    // downloaded to, where anyone may have left a DLL of the same name.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    int count = 0;
    wchar_t** raw = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; raw != nullptr && i < count; ++i) {  // the program's own path is not a switch
        arguments.push_back(talvo::win::narrow(raw[i]));
    }
    LocalFree(raw);
    return talvo::setup::win::run_setup(arguments);
}
