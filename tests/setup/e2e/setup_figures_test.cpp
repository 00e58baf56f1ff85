// Figures of the setup program, printed for the record and not asserted: its
// size beside the launcher's, and how long a silent install takes under Wine.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "polling.h"
#include "setup_harness.h"
#include "text_paths.h"

namespace talvo::setup_e2e {
namespace {

using SetupFigures = SetupTest;

TEST_F(SetupFigures, PrintedForTheRecord) {
    constexpr int kInstalls = 5;
    std::vector<double> install_ms;
    for (int i = 0; i < kInstalls; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
        install_ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(install_ms.begin(), install_ms.end());
    const auto setup_bytes = std::filesystem::file_size(setup_exe_path());
    const auto launcher_bytes = std::filesystem::file_size(e2e::talvo_exe_path());

    char text[512];
    std::snprintf(text, sizeof text,
                  "Talvo-Setup.exe: %llu bytes (%.1f KiB), talvo.exe: %llu bytes (%.1f KiB), "
                  "setup minus launcher: %.1f KiB (goal <= 200 KiB)\n"
                  "silent install under Wine (Talvo-Setup.exe /S, start to exit, %d runs): "
                  "median %.0f ms, min %.0f ms, max %.0f ms\n",
                  static_cast<unsigned long long>(setup_bytes), setup_bytes / 1024.0,
                  static_cast<unsigned long long>(launcher_bytes), launcher_bytes / 1024.0,
                  (static_cast<double>(setup_bytes) - static_cast<double>(launcher_bytes)) / 1024.0,
                  kInstalls, install_ms[kInstalls / 2], install_ms.front(), install_ms.back());
    std::fputs(text, stdout);
    if (FILE* out = _wfopen(e2e::artifact_path(L"setup-figures.txt").c_str(), L"w")) {
        std::fputs(text, out);
        std::fclose(out);
    }
}

}  // namespace
}  // namespace talvo::setup_e2e
