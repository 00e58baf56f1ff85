// The Windows platform services: files, environment, registry, known folders, clock.
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include <windows.h>

#include "../unit/test_platform.h"
#include "core/shell/platform.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

const Platform kSystem = system_platform();

TEST(WinFiles, WriteModesAndAtomicReplace) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("a.txt");
    EXPECT_TRUE(kSystem.files.write(path, "one\n", WriteMode::Append).ok);
    EXPECT_TRUE(kSystem.files.write(path, "two", WriteMode::Append).ok);
    EXPECT_EQ(kSystem.files.read_file(path), "one\ntwo");
    EXPECT_EQ(kSystem.files.last_byte(path), 'o');
    EXPECT_EQ(kSystem.files.file_size(path), 7u);
    EXPECT_TRUE(kSystem.files.write(path, "x", WriteMode::Truncate).ok);
    EXPECT_EQ(kSystem.files.read_file(path), "x");
    EXPECT_TRUE(kSystem.files.replace_atomically(path, "new").ok);
    EXPECT_EQ(kSystem.files.read_file(path), "new");
    // No temporary file is left beside it.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(widen(folder.file("*.tmp*")).c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
}

TEST(WinFiles, LockedFileFailsWithTheSystemsTextAndKeepsItsContent) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("locked.txt");
    ASSERT_TRUE(kSystem.files.write(path, "keep", WriteMode::Truncate).ok);
    const unique_file lock(CreateFileW(widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    const WriteResult result = kSystem.files.write(path, "lost", WriteMode::Append);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("(os error 32)"), std::string::npos) << result.error;
    EXPECT_FALSE(kSystem.files.read_file(path).has_value());
}

// A reader that holds the file a moment delays the replacement; one that never
// lets go makes it fail, with the old content whole and no temporary file left.
TEST(WinFiles, AtomicReplaceWaitsForAReaderAndGivesUpOnALock) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("history.tsv");
    ASSERT_TRUE(kSystem.files.write(path, "old\n", WriteMode::Truncate).ok);
    const auto open_reader = [&] {
        return unique_file(CreateFileW(widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    {
        unique_file reader = open_reader();
        ASSERT_TRUE(reader);
        std::thread release([&] {
            Sleep(200);
            reader.reset();
        });
        EXPECT_TRUE(kSystem.files.replace_atomically(path, "new\n").ok);
        release.join();
        EXPECT_EQ(kSystem.files.read_file(path), "new\n");
    }
    const unique_file lock(CreateFileW(widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(kSystem.files.replace_atomically(path, "lost\n").ok);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(widen(folder.file("*.tmp*")).c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
}

TEST(WinFiles, FoldersAreNotFilesAndParentsAreCreated) {
    testing::ScratchFolder folder;
    EXPECT_FALSE(kSystem.files.read_file(folder.path()).has_value());
    EXPECT_FALSE(kSystem.files.file_size(folder.path()).has_value());
    const std::string deep = join_path(folder.file("a"), "b\\c");
    EXPECT_TRUE(kSystem.files.create_directories(deep));
    EXPECT_TRUE(kSystem.files.exists(deep));
    EXPECT_FALSE(kSystem.files.write(folder.path(), "x", WriteMode::Append).ok);
}

TEST(WinFiles, UnicodePathsRoundTrip) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("Téléchargements 𝄞.txt");
    ASSERT_TRUE(kSystem.files.write(path, "é", WriteMode::Truncate).ok);
    EXPECT_EQ(kSystem.files.read_file(path), "é");
}

TEST(WinEnvironment, SetEmptyAndMissingVariables) {
    SetEnvironmentVariableW(L"TALVO_TEST_VAR", L"Été");
    EXPECT_EQ(kSystem.environment.variable("TALVO_TEST_VAR"), "Été");
    SetEnvironmentVariableW(L"TALVO_TEST_VAR", L"");
    EXPECT_EQ(kSystem.environment.variable("TALVO_TEST_VAR"), "");
    SetEnvironmentVariableW(L"TALVO_TEST_VAR", nullptr);
    EXPECT_FALSE(kSystem.environment.variable("TALVO_TEST_VAR").has_value());
    EXPECT_EQ(kSystem.environment.process_id(), GetCurrentProcessId());
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(WinSystem, RunValueMeansRegisteredOnlyAsAString) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const unique_hkey run(key);
    const wchar_t command[] = L"\"C:\\talvo.exe\" --hidden";
    RegSetValueExW(run.get(), L"Talvo", 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                   sizeof command);
    EXPECT_TRUE(kSystem.system.autostart_registered());
    const DWORD number = 1;
    RegSetValueExW(run.get(), L"Talvo", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    EXPECT_FALSE(kSystem.system.autostart_registered());
    RegDeleteValueW(run.get(), L"Talvo");
    EXPECT_FALSE(kSystem.system.autostart_registered());
}

TEST(WinSystem, KnownFoldersByNameAndById) {
    for (const KnownFolder folder :
         {KnownFolder::Pictures, KnownFolder::Downloads, KnownFolder::Documents,
          KnownFolder::Desktop, KnownFolder::Music, KnownFolder::Videos, KnownFolder::Profile}) {
        const auto path = kSystem.system.known_folder_path(folder);
        ASSERT_TRUE(path.has_value());
        EXPECT_FALSE(path->empty());
    }
    // FOLDERID_Downloads
    EXPECT_EQ(kSystem.system.known_folder_path_by_id("{374DE290-123F-4565-9164-39C4925E467B}"),
              kSystem.system.known_folder_path(KnownFolder::Downloads));
    EXPECT_FALSE(kSystem.system.known_folder_path_by_id("{not-a-guid}").has_value());
    EXPECT_FALSE(kSystem.system.known_folder_path_by_id("").has_value());
}

TEST(WinSystem, ExecutablePathIsThisProgram) {
    const auto path = kSystem.system.executable_path();
    ASSERT_TRUE(path.has_value());
    EXPECT_TRUE(path->ends_with("talvo_win_tests.exe")) << *path;
}

LocalTime from_system_time(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek};
}

std::array<int, 6> ordered(const LocalTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

// Each comparison is about one reading of the clock, so a change of second,
// hour or day between two reads cannot make it fail.
TEST(WinClock, LocalTimeMatchesTheSystemsOwnConversion) {
    SYSTEMTIME before{};
    GetLocalTime(&before);
    const LocalTime now = kSystem.clock.local_now();
    SYSTEMTIME after{};
    GetLocalTime(&after);
    EXPECT_LE(ordered(from_system_time(before)), ordered(now));
    EXPECT_LE(ordered(now), ordered(from_system_time(after)));

    const std::int64_t unix_now = kSystem.clock.unix_now();
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(unix_now) + 11'644'473'600ull) * 10'000'000ull;
    const FILETIME file_time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    ASSERT_TRUE(FileTimeToSystemTime(&file_time, &utc));
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    EXPECT_EQ(kSystem.clock.to_local(unix_now), from_system_time(local));

    // 2026-03-07 08:05:09 UTC, a Saturday, in whatever zone this runs.
    const auto saturday = kSystem.clock.to_local(1772870709);
    ASSERT_TRUE(saturday.has_value());
    EXPECT_EQ(saturday->minute, 5);
    EXPECT_FALSE(kSystem.clock.to_local(-20'000'000'000).has_value());  // before 1601
}

}  // namespace
}  // namespace talvo::win
