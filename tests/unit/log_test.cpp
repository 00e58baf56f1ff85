// The diagnostic log: line format, size limit, and failures that must stay silent.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/shell/diagnostic_log.h"
#include "file_lock.h"
#include "test_platform.h"

namespace talvo {
namespace {

using testing::FileLock;
using testing::TestPlatform;

TEST(FormatLogLine, StampsLocalTimeAndProcessId) {
    const struct {
        LocalTime time;
        std::uint32_t pid;
        std::string message;
        std::string line;
    } cases[] = {
        {{2026, 3, 7, 8, 5, 9},
         4120,
         "Alt+Espace : enregistré",
         "2026-03-07 08:05:09 [4120] Alt+Espace : enregistré\n"},
        {{987, 12, 31, 23, 59, 59}, 0, "", "0987-12-31 23:59:59 [0] \n"},
        {{2026, 1, 1, 0, 0, 0}, 4294967295u, "a\nb", "2026-01-01 00:00:00 [4294967295] a\nb\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_log_line(c.time, c.pid, c.message), c.line);
    }
}

TEST(WriteLog, CreatesTheFolderAndAppendsLines) {
    TestPlatform platform(testing::unix_from_civil(2026, 3, 7, 8, 5, 9));
    write_log(platform.get(), "un");
    platform.environment.pid = 7;
    write_log(platform.get(), "deux");
    EXPECT_EQ(platform.get().files.read_file(platform.data_file("talvo.log")),
              "2026-03-07 08:05:09 [4120] un\n2026-03-07 08:05:09 [7] deux\n");
}

TEST(WriteLog, EmptiesOnlyALogLargerThanTheLimit) {
    for (const std::uint64_t size : {kLogSizeLimit, kLogSizeLimit + 1}) {
        TestPlatform platform;
        const std::string path = platform.data_file("talvo.log");
        platform.get().files.create_directories(data_folder(platform.environment));
        const std::string old(size, 'x');
        platform.get().files.write(path, old, WriteMode::Truncate);
        write_log(platform.get(), "suite");
        const std::string line = format_log_line(platform.clock.local_now(), 4120, "suite");
        EXPECT_EQ(platform.get().files.read_file(path), size > kLogSizeLimit ? line : old + line);
    }
}

TEST(WriteLog, WithoutAppdataWritesBelowTheCurrentFolder) {
    TestPlatform platform;
    platform.environment.variables.clear();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(platform.scratch.path());
    write_log(platform.get(), "ici");
    std::filesystem::current_path(previous);
    const auto text = platform.get().files.read_file(platform.scratch.file("Talvo/talvo.log"));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("] ici\n"), std::string::npos);
}

TEST(WriteLog, UnwritableLogIsASilentNoOp) {
    {  // a folder where the log should be
        TestPlatform platform;
        platform.get().files.create_directories(platform.data_file("talvo.log"));
        write_log(platform.get(), "perdu");
        EXPECT_EQ(platform.get().files.file_size(platform.data_file("talvo.log")), std::nullopt);
    }
    {  // a file where the data folder should be
        TestPlatform platform;
        platform.get().files.write(data_folder(platform.environment), "f", WriteMode::Truncate);
        write_log(platform.get(), "perdu");
        EXPECT_EQ(platform.get().files.read_file(data_folder(platform.environment)), "f");
    }
    if (FileLock::available()) {  // another program holds the log open without sharing
        TestPlatform platform;
        const std::string path = platform.data_file("talvo.log");
        platform.get().files.create_directories(data_folder(platform.environment));
        platform.get().files.write(path, std::string(kLogSizeLimit + 10, 'x'), WriteMode::Truncate);
        {
            const FileLock lock(path);
            ASSERT_TRUE(lock.held());
            write_log(platform.get(), "perdu");
        }
        EXPECT_EQ(platform.get().files.file_size(path), kLogSizeLimit + 10);
    }
}

}  // namespace
}  // namespace talvo
