// Bounded waiting: every wait polls with a deadline so that a failure never hangs.
#pragma once

#include <windows.h>

#include <chrono>

namespace talvo::e2e {

inline constexpr std::chrono::milliseconds kWait{4000};

// Dispatches the window messages of this thread (its own test windows).
inline void pump_messages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Polls `done` every few milliseconds until it holds or the time is up.
template <class Condition>
bool wait_until(Condition done, std::chrono::milliseconds timeout = kWait) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return done();
        }
        pump_messages();
        Sleep(4);
    }
}

// Lets a negative check run for a while: true when `bad` never held.
template <class Condition>
bool stays_false(Condition bad, std::chrono::milliseconds duration) {
    return !wait_until(bad, duration);
}

}  // namespace talvo::e2e
