// Crashes at once with an unhandled access violation. scripts/test runs it to
// check that a crashing Windows program ends in seconds under Wine instead of
// waiting in a crash dialog; it is no test of the launcher.
#include <windows.h>

int main() {
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    return 0;
}
