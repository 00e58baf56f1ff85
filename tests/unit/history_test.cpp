// The history file: its line format, loading (trims, bad lines, hostile
// files), recording a launch, and the tables rebuilt from the records.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "core/matching/history_file.h"
#include "core/shell/diagnostic_log.h"
#include "core/text/utf.h"
#include "file_lock.h"
#include "test_platform.h"

namespace talvo {

// Readable failure messages.
void PrintTo(const LaunchRecord& r, std::ostream* out) {
    *out << "{" << ::testing::PrintToString(r.key) << ", " << ::testing::PrintToString(r.query)
         << ", " << r.time << ", " << r.hour << ", " << r.weekend << "}";
}

namespace {

using testing::FileLock;
using testing::FullDiskFiles;
using testing::TestPlatform;

constexpr std::int64_t kDay = 86400;

LaunchRecord record(std::string key, std::string query, std::uint64_t time, std::uint32_t hour = 0,
                    std::uint32_t weekend = 0) {
    return LaunchRecord{std::move(key), std::move(query), time, hour, weekend};
}

std::vector<LaunchRecord> numbered_records(std::size_t count) {
    std::vector<LaunchRecord> records;
    for (std::size_t n = 0; n < count; ++n) {
        records.push_back(record("app:" + std::to_string(n % 37), "q", n, n % 24, n % 2));
    }
    return records;
}

std::string file_text(const std::vector<LaunchRecord>& records) {
    std::string text;
    for (const LaunchRecord& r : records) {
        text += format_record(r);
    }
    return text;
}

std::string read(TestPlatform& platform, const std::string& path) {
    return platform.get().files.read_file(path).value_or("<unreadable>");
}

void put(TestPlatform& platform, std::string_view name, std::string_view bytes) {
    platform.get().files.create_directories(data_folder(platform.environment));
    platform.get().files.write(platform.data_file(name), bytes, WriteMode::Truncate);
}

// Names in the data folder: shows stray temporary files.
std::vector<std::string> folder_names(const TestPlatform& platform) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(platform.data_file(""))) {
        names.push_back(item.path().filename().string());
    }
    return names;
}

struct LineCase {
    const char* why;
    std::string line;
    std::optional<LaunchRecord> loaded;
};

TEST(ParseHistory, EachLineLoadsOrIsSkippedOnItsOwn) {
    const std::string max = "18446744073709551615";
    const LineCase cases[] = {
        {"out of range wraps", "1000\t25\t7\tapp:x\tvl", record("app:x", "vl", 1000, 1, 1)},
        {"four fields", "1000\t1\t0\tapp:x", std::nullopt},
        {"letter in time", "10a0\t1\t0\tapp:x\tv", std::nullopt},
        {"minus hour", "1000\t-5\t0\tapp:x\tv", std::nullopt},
        {"empty weekend", "1000\t1\t\tapp:x\tv", std::nullopt},
        {"lone plus", "+\t1\t0\tapp:x\tv", std::nullopt},
        {"space before digits", " 5\t1\t0\tapp:x\tv", std::nullopt},
        {"plus signs", "+5\t+23\t+0\tapp:x\tv", record("app:x", "v", 5, 23, 0)},
        {"largest values", max + "\t" + max + "\t000\tapp:x\tv",
         record("app:x", "v", UINT64_MAX, 15)},
        {"time overflow", "18446744073709551616\t1\t0\tapp:x\tv", std::nullopt},
        {"CRLF", "1000\t1\t0010\tapp:x\tvl\r", record("app:x", "vl", 1000, 1, 1)},
        {"sixth field", "1000\t1\t0\tapp:x\tvl\textra\tmore", record("app:x", "vl", 1000, 1)},
        {"empty query", "1000\t1\t0\tapp:x\t", record("app:x", "", 1000, 1)},
        {"invalid UTF-8", "1000\t1\t0\tapp:\xC3\xA9\t\xFF", std::nullopt},
        {"NUL byte", std::string("1\t2\t1\tapp:\0x\tv", 14),
         record(std::string("app:\0x", 6), "v", 1, 2, 1)},
        {"CR inside the query", "7\t3\t0\tapp:x\tv\rc\r\r", record("app:x", "v c ", 7, 3)},
        {"blank line", "", std::nullopt},
    };
    std::string whole;
    std::vector<LaunchRecord> expected;
    for (const LineCase& c : cases) {
        const std::vector<LaunchRecord> alone = parse_history(c.line + "\n");
        EXPECT_EQ(alone, c.loaded ? std::vector{*c.loaded} : std::vector<LaunchRecord>{}) << c.why;
        whole += (whole.empty() ? "" : "\n") + c.line;
        if (c.loaded) {
            expected.push_back(*c.loaded);
        }
    }
    // Together, without a final line feed: a bad line costs no other line.
    EXPECT_EQ(parse_history(whole), expected);
}

TEST(FormatRecord, WritesTheFiveFieldsAndSurvivesReading) {
    EXPECT_EQ(format_record(record("app:x", "vl", 1000, 1, 1)), "1000\t1\t1\tapp:x\tvl\n");
    EXPECT_EQ(format_record(record("cmd:quit", "", 0)), "0\t0\t0\tcmd:quit\t\n");

    const std::vector<LaunchRecord> records = {
        record("app:Microsoft.Photos_8wekyb3d8bbwe!App", "ph", 1'780'000'000, 23, 1),
        record("dir:documents", "", 0, 0, 0),
        record("app:C:\\Outils\\\xC3\x89"
               "cran.exe",
               "ecran d'\xF0\x9F\x98\x80", UINT64_MAX, 12),
        record(std::string("app:\0", 5), "a b  c", 42, 7, 1),
    };
    EXPECT_EQ(parse_history(file_text(records)), records);
}

TEST(Rebuild, SumsRecencyWeightsPerKeyHourDayAndPrefix) {
    const std::int64_t now = 1'780'000'000;
    LearningMemory memory;
    memory.records = {
        record("app:a", "vl", now, 8, 0), record("app:b", "v", now, 23, 1),
        record("app:a", "", now - 30 * kDay, 8, 0),
        record("app:c",
               "\xC3\xA9"
               "a",
               now + 1000),  // future: weighs 1
    };
    rebuild(memory, now);
    const double old = std::exp(-1.0);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:a").key_weight, 1 + old);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:c").key_weight, 1);
    EXPECT_DOUBLE_EQ(memory.total_weight, 3 + old);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:a").hour_weight[8], 1 + old);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:b").day_weight[1], 1);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:b").day_weight[0], 0);
    // Prefixes by characters; the empty query adds to none.
    EXPECT_EQ(memory.prefix_weight.size(), 4u);  // v, vl, é, éa
    EXPECT_DOUBLE_EQ(memory.prefix_weight.at("v"), 2);
    EXPECT_DOUBLE_EQ(memory.prefix_key_weight.at("v").at("app:a"), 1);
    EXPECT_DOUBLE_EQ(memory.prefix_key_weight.at("vl").at("app:a"), 1);
    EXPECT_EQ(memory.prefix_key_weight.at("vl").count("app:b"), 0u);
    EXPECT_DOUBLE_EQ(memory.prefix_weight.at("\xC3\xA9"), 1);

    rebuild(memory, -1);  // clock before 1970: every record weighs 1
    EXPECT_DOUBLE_EQ(memory.keys.at("app:a").key_weight, 2);
    EXPECT_DOUBLE_EQ(memory.total_weight, 4);
}

TEST(Rebuild, LearnsAtMostTheFirst64CharactersOfAQuery) {
    const std::string e_acute = "\xC3\xA9";  // two bytes: the limit counts characters
    std::string million;
    for (int i = 0; i < 1'000'000; ++i) {
        million += e_acute;
    }
    const struct {
        std::string query;
        std::size_t prefixes;
        std::size_t longest_bytes;
    } cases[] = {{std::string(63, 'a'), 63, 63},
                 {std::string(64, 'a'), 64, 64},
                 {std::string(65, 'a'), 64, 64},
                 {million, 64, 128}};
    for (const auto& c : cases) {
        LearningMemory memory;
        memory.records = {record("app:a", c.query, 0)};
        rebuild(memory, 0);
        EXPECT_EQ(memory.prefix_weight.size(), c.prefixes) << c.query.size() << " bytes";
        EXPECT_EQ(memory.prefix_key_weight.count(c.query.substr(0, c.longest_bytes)), 1u)
            << c.query.size() << " bytes";
    }
}

TEST(LoadHistory, AMillionCharacterQueryLoadsWithBoundedTables) {
    TestPlatform platform;
    const std::string huge(1'000'000, 'v');
    put(platform, "history.tsv", "5\t1\t0\tapp:vlc\t" + huge + "\n" + "6\t1\t0\tapp:vlc\tvl\n");
    LearningMemory memory;
    load_history(memory, platform.get());
    ASSERT_EQ(memory.records.size(), 2u);
    EXPECT_EQ(memory.records[0].query, huge);
    // "v" to 64 times "v" from the long query, and "vl" of the short one.
    EXPECT_EQ(memory.prefix_weight.size(), kMaxLearnedPrefixCharacters + 1);
    EXPECT_EQ(memory.prefix_weight.count(huge.substr(0, 64)), 1u);
    EXPECT_EQ(memory.prefix_weight.count(huge.substr(0, 65)), 0u);
    EXPECT_EQ(memory.prefix_weight.count("vl"), 1u);
}

// Shared lookups must not change a single bit: each value is summed in record
// order, exactly as adding the records one by one.
TEST(Rebuild, MatchesARecordByRecordPassBitForBit) {
    const std::int64_t now = 1'780'000'000;
    LearningMemory memory;
    const char* queries[] = {"", "v", "vl", "vlc", "éd", "v l"};
    for (std::uint64_t n = 0; n < 3000; ++n) {
        memory.records.push_back(record("app:" + std::to_string(n * n % 13), queries[n * 7 % 6],
                                        static_cast<std::uint64_t>(now) - n * 3917, n % 24, n % 2));
    }
    rebuild(memory, now);
    TextMap<double> keys;
    TextMap<double> prefixes;
    TextMap<double> prefix_keys;  // prefix + TAB + key
    double total = 0;
    for (const LaunchRecord& r : memory.records) {
        const double w = record_weight(r.time, now);
        keys[r.key] += w;
        total += w;
        for (std::size_t end = 0; end < r.query.size();) {
            decode_utf8(r.query, end);
            prefixes[r.query.substr(0, end)] += w;
            prefix_keys[r.query.substr(0, end) + "\t" + r.key] += w;
        }
    }
    EXPECT_EQ(memory.total_weight, total);
    EXPECT_EQ(memory.keys.size(), keys.size());
    for (const auto& [key, weight] : keys) {
        EXPECT_EQ(memory.keys.at(key).key_weight, weight) << key;
    }
    EXPECT_EQ(memory.prefix_weight, prefixes);
    std::size_t pairs = 0;
    for (const auto& [prefix, inner] : memory.prefix_key_weight) {
        for (const auto& [key, weight] : inner) {
            EXPECT_EQ(weight, prefix_keys.at(prefix + "\t" + key)) << prefix << " " << key;
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, prefix_keys.size());
}

TEST(LoadHistory, MissingFileGivesEmptyMemoryAndCreatesTheFolder) {
    TestPlatform platform;
    LearningMemory memory;
    load_history(memory, platform.get());
    EXPECT_EQ(memory.history_path, platform.data_file("history.tsv"));
    EXPECT_TRUE(memory.records.empty());
    EXPECT_TRUE(memory.keys.empty());
    EXPECT_TRUE(platform.get().files.exists(platform.data_file("")));
    EXPECT_FALSE(platform.get().files.exists(memory.history_path));
}

TEST(LoadHistory, KeepsTheNewest5000AndRewritesOnlyALongerFile) {
    for (const std::size_t lines : {5000u, 7000u, 100'000u}) {
        TestPlatform platform;
        const std::vector<LaunchRecord> all = numbered_records(lines);
        // The bad line stays in a file that needs no trim.
        const std::string original = "bad line\n" + file_text(all);
        put(platform, "history.tsv", original);

        LearningMemory memory;
        load_history(memory, platform.get());
        const std::vector<LaunchRecord> newest(all.end() - 5000, all.end());
        EXPECT_EQ(memory.records, newest) << lines;
        EXPECT_EQ(read(platform, memory.history_path), lines > 5000 ? file_text(newest) : original);
        EXPECT_EQ(folder_names(platform), std::vector<std::string>{"history.tsv"});
        EXPECT_GT(memory.total_weight, 0);
    }
}

TEST(LoadHistory, HostileFileLosesOnlyItsBadLines) {
    TestPlatform platform;
    const std::string good = "1\t1\t0\tapp:a\tv\n";
    const std::string huge_line(10 * 1024 * 1024, 'x');
    put(platform, "history.tsv",
        good + huge_line + "\n\xC0\x80\t\n" + std::string(3, '\0') + "\n" + good +
            "2\t2\t1\tapp:b\t");
    LearningMemory memory;
    load_history(memory, platform.get());
    EXPECT_EQ(memory.records, (std::vector{record("app:a", "v", 1, 1), record("app:a", "v", 1, 1),
                                           record("app:b", "", 2, 2, 1)}));
}

TEST(LoadHistory, FolderInPlaceOfTheFileLeavesMemoryEmpty) {
    TestPlatform platform;
    platform.get().files.create_directories(platform.data_file("history.tsv"));
    LearningMemory memory;
    load_history(memory, platform.get());
    EXPECT_TRUE(memory.records.empty());

    // Nor can a trim's rewrite replace the folder.
    memory.records = numbered_records(3);
    rewrite_history(memory, platform.get());
    EXPECT_EQ(platform.get().files.file_size(memory.history_path), std::nullopt);
    EXPECT_TRUE(platform.get().files.exists(memory.history_path));
    EXPECT_EQ(folder_names(platform), std::vector<std::string>{"history.tsv"});
}

TEST(RewriteHistory, FullDiskLeavesTheLongerFileIntact) {
    TestPlatform test;
    FullDiskFiles disk;
    const Platform platform{test.clock, test.environment, disk, test.get().system};
    const std::string original = file_text(numbered_records(7000));
    disk.files[history_path(test.environment)] = original;
    LearningMemory memory;
    load_history(memory, platform);
    EXPECT_EQ(memory.records.size(), 5000u);
    EXPECT_EQ(disk.files[memory.history_path], original);
}

// Catalogue rows as the popup would show them.
const std::vector<CatalogEntry> kRows = {
    make_entry("app:vlc", "VLC", "", LaunchTarget::open_path("vlc")),
    make_entry("app:x", "Résumé", "", LaunchTarget::open_path("x")),
};

TEST(Choose, AnIndexPastTheRowsRecordsNothing) {
    TestPlatform platform;
    LearningMemory memory;
    load_history(memory, platform.get());
    EXPECT_FALSE(choose(memory, kRows, 2, LaunchMode::Normal, "vlc", platform.get()));
    EXPECT_TRUE(memory.records.empty());
    EXPECT_FALSE(platform.get().files.exists(memory.history_path));
    EXPECT_FALSE(platform.get().files.exists(log_path(platform.environment)));
}

TEST(Choose, AppendsTheLineLogsItAndLearns) {
    // Friday 23:30 UTC is Saturday 00:30 at UTC+1: hour and weekend are local.
    const std::int64_t now = testing::unix_from_civil(2026, 3, 6, 23, 30);
    TestPlatform platform(now, 3600);
    LearningMemory memory;
    load_history(memory, platform.get());

    const auto request = choose(memory, kRows, 1, LaunchMode::ShowInFolder,
                                " R\xC3\xA9\tsum\xC3\xA9 ", platform.get());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->entry, kRows[1]);
    EXPECT_EQ(request->mode, LaunchMode::ShowInFolder);
    EXPECT_EQ(read(platform, memory.history_path),
              std::to_string(now) + "\t0\t1\tapp:x\tre sume\n");
    EXPECT_EQ(read(platform, log_path(platform.environment)),
              "2026-03-07 00:30:00 [4120] appris : app:x \xE2\x86\x90 \xC2\xAB re sume \xC2\xBB\n");
    EXPECT_EQ(memory.records, std::vector{record("app:x", "re sume", now, 0, 1)});
    EXPECT_DOUBLE_EQ(memory.prefix_weight.at("re s"), 1);

    // Thirty days later the first launch weighs e^-1 of the new one.
    platform.clock.set(now + 30 * kDay);
    choose(memory, kRows, 1, LaunchMode::Normal, "", platform.get());
    EXPECT_DOUBLE_EQ(memory.keys.at("app:x").key_weight, 1 + std::exp(-1.0));
    EXPECT_EQ(memory.records.back().query, "");
    EXPECT_EQ(parse_history(read(platform, memory.history_path)), memory.records);
}

TEST(Choose, RecordsTheLocalHourAndWhetherItIsTheWeekend) {
    const struct {
        const char* day;
        std::int64_t time;
        std::uint32_t hour, weekend;
    } cases[] = {
        {"Friday", testing::unix_from_civil(2026, 3, 6, 12), 12, 0},
        {"Saturday", testing::unix_from_civil(2026, 3, 7, 0, 5), 0, 1},
        {"Sunday", testing::unix_from_civil(2026, 3, 8, 23, 55), 23, 1},
        {"Monday", testing::unix_from_civil(2026, 3, 9, 7), 7, 0},
    };
    for (const auto& c : cases) {
        TestPlatform platform(c.time, 0);
        LearningMemory memory;
        ASSERT_TRUE(choose(memory, kRows, 0, LaunchMode::Normal, "vlc", platform.get()));
        EXPECT_EQ(memory.records.back().hour, c.hour) << c.day;
        EXPECT_EQ(memory.records.back().weekend, c.weekend) << c.day;
    }
}

TEST(Choose, ClockBefore1970RecordsTimeZero) {
    TestPlatform platform(-100);
    LearningMemory memory;
    load_history(memory, platform.get());
    choose(memory, kRows, 0, LaunchMode::Normal, "vlc", platform.get());
    EXPECT_EQ(memory.records.front().time, 0u);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:vlc").key_weight, 1);
}

TEST(Choose, EndsALineCutShortBeforeAppending) {
    const std::string line = "1780000000\t20\t0\tapp:vlc\tv\n";  // a Thursday, 20:26 UTC
    const struct {
        std::string before;
        std::string after;
    } cases[] = {
        {"", line},
        {"1\t1\t0\tapp:a\tv\n", "1\t1\t0\tapp:a\tv\n" + line},
        {"1\t1\t0\tapp:a\tv", "1\t1\t0\tapp:a\tv\n" + line},
        {"1\t1\t0\tap", "1\t1\t0\tap\n" + line},
        {"1\t1\t0\tapp:a\tv\r", "1\t1\t0\tapp:a\tv\r\n" + line},
    };
    for (const auto& c : cases) {
        TestPlatform platform(1'780'000'000);
        put(platform, "history.tsv", c.before);
        LearningMemory memory;
        memory.history_path = platform.data_file("history.tsv");
        choose(memory, kRows, 0, LaunchMode::Normal, "V", platform.get());
        EXPECT_EQ(read(platform, memory.history_path), c.after) << c.before;
    }
}

TEST(Choose, FailedAppendIsLoggedAndTheLaunchStillCounts) {
    TestPlatform platform;
    LearningMemory memory;
    load_history(memory, platform.get());
    platform.get().files.create_directories(memory.history_path);  // a folder in the file's place

    ASSERT_TRUE(choose(memory, kRows, 0, LaunchMode::Normal, "vlc", platform.get()));
    EXPECT_EQ(memory.records.size(), 1u);
    EXPECT_DOUBLE_EQ(memory.keys.at("app:vlc").key_weight, 1);
    const std::string log = read(platform, log_path(platform.environment));
    const std::string prefix = "ÉCHEC écriture historique " + memory.history_path + " : ";
    ASSERT_NE(log.find(prefix), std::string::npos) << log;
    EXPECT_GT(log.size(), log.find(prefix) + prefix.size() + 1);  // the system's error text
}

TEST(Choose, LockedFileIsLoggedAndKeptIntact) {
    if (!FileLock::available()) {
        GTEST_SKIP() << "no mandatory file locks here";
    }
    TestPlatform platform;
    const std::vector<LaunchRecord> kept = numbered_records(6000);
    put(platform, "history.tsv", file_text(kept));
    LearningMemory memory;
    {
        const FileLock lock(platform.data_file("history.tsv"));
        ASSERT_TRUE(lock.held());
        load_history(memory, platform.get());
        EXPECT_TRUE(memory.records.empty());
        memory.records = kept;  // a trim's rewrite must fail too
        choose(memory, kRows, 0, LaunchMode::Normal, "vlc", platform.get());
        EXPECT_EQ(memory.records.size(), 5000u);
    }
    EXPECT_NE(read(platform, log_path(platform.environment)).find("ÉCHEC écriture historique"),
              std::string::npos);
    EXPECT_EQ(read(platform, memory.history_path), file_text(kept));
    EXPECT_EQ(folder_names(platform).size(), 2u);  // history.tsv and talvo.log, no temporary
}

TEST(Choose, The6001stRecordTrimsTo5000AndRewrites) {
    for (const std::size_t before : {5999u, 6000u}) {
        TestPlatform platform;
        LearningMemory memory;
        load_history(memory, platform.get());
        memory.records = numbered_records(before);
        choose(memory, kRows, 0, LaunchMode::Normal, "vlc", platform.get());
        const std::size_t expected = before == 6000 ? 5000 : 6000;
        ASSERT_EQ(memory.records.size(), expected);
        EXPECT_EQ(memory.records.back().key, "app:vlc");
        EXPECT_EQ(memory.records.front().time, before + 1 - expected);
        EXPECT_EQ(parse_history(read(platform, memory.history_path)).size(),
                  before == 6000 ? 5000u : 1u);
    }
}

}  // namespace
}  // namespace talvo
