// talvo.exe: a windowed program without a console.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "win/platform/text_win.h"
#include "win/shell/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** raw = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; raw != nullptr && i < count; ++i) {
        arguments.push_back(talvo::win::narrow(raw[i]));
    }
    LocalFree(raw);
    const int status = talvo::win::run_launcher(instance, arguments);
    // The icon worker and a scan may still be running, detached: end the
    // process here without running the destructors of the state and the
    // channels they may still be using (the system ends the threads first).
    std::_Exit(status);
}
