// Removing what a test made, without ever failing the test: a program that
// just ended (or the launcher's scan) may hold a file a moment longer under
// Wine, so the removal is tried again for a while and then given up quietly.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <system_error>

namespace talvo::testing {

inline constexpr std::chrono::milliseconds kRemovalPatience{5000};

// Removes a file or a folder with everything in it; whether it is gone.
inline bool remove_patiently(const std::filesystem::path& path,
                             std::chrono::milliseconds patience = kRemovalPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        if (!error && !std::filesystem::exists(path, error)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        Sleep(50);
    }
}

}  // namespace talvo::testing
