// Forgetting: the launches of one entry leave the history file and every other
// line stays byte for byte; clearing empties it; a failed rewrite changes nothing.
#include <gtest/gtest.h>

#include "core/matching/forget.h"
#include "core/matching/history_file.h"
#include "core/shell/diagnostic_log.h"
#include "test_platform.h"

namespace talvo {
namespace {

using testing::FullDiskFiles;
using testing::TestPlatform;

TEST(WithoutLaunchesOf, OnlyTheEntrysParsedLinesGo) {
    const struct {
        const char* what;
        std::string text;
        std::string kept;
        std::size_t removed;
    } cases[] = {
        {"its lines go, the others stay in order",
         "1\t2\t0\tapp:vlc\tv\n2\t3\t0\tapp:b\tb\n3\t4\t1\tapp:vlc\tvl\n", "2\t3\t0\tapp:b\tb\n",
         2},
        {"malformed and invalid lines stay, byte for byte",
         "garbage app:vlc\n\xFF\t1\t0\tapp:vlc\tv\nx\t1\t0\tapp:vlc\tv\n\n",
         "garbage app:vlc\n\xFF\t1\t0\tapp:vlc\tv\nx\t1\t0\tapp:vlc\tv\n\n", 0},
        {"a CRLF line of the entry goes, another keeps its CR",
         "1\t2\t0\tapp:vlc\tv\r\n1\t2\t0\tapp:b\tb\r\n", "1\t2\t0\tapp:b\tb\r\n", 1},
        {"a last line cut short goes too", "1\t2\t0\tapp:b\tb\n1\t2\t0\tapp:vlc\tv",
         "1\t2\t0\tapp:b\tb\n", 1},
        {"another key's cut line stays cut", "1\t2\t0\tapp:vlc\tv\n1\t2\t0\tapp:b\tb",
         "1\t2\t0\tapp:b\tb", 1},
        {"the key in the query field, or a longer key, is another entry",
         "1\t2\t0\tapp:b\tapp:vlc\n1\t2\t0\tapp:vlc2\tv\n1\t2\t0\tAPP:VLC\tv\n",
         "1\t2\t0\tapp:b\tapp:vlc\n1\t2\t0\tapp:vlc2\tv\n1\t2\t0\tAPP:VLC\tv\n", 0},
        {"an empty file", "", "", 0},
    };
    for (const auto& c : cases) {
        const FilteredHistory filtered = without_launches_of(c.text, "app:vlc");
        EXPECT_EQ(filtered.text, c.kept) << c.what;
        EXPECT_EQ(filtered.removed, c.removed) << c.what;
    }
}

std::string read(TestPlatform& platform, const std::string& path) {
    return platform.get().files.read_file(path).value_or("<missing>");
}

TEST(Forget, AnEntrysLaunchesLeaveTheFileTheTablesAndTheLog) {
    TestPlatform platform;
    const std::string path = platform.data_file("history.tsv");
    platform.get().files.create_directories(data_folder(platform.environment));
    const std::string other = "1780000000\t10\t0\tapp:b\tb\n";
    platform.get().files.write(
        path,
        "1780000000\t10\t0\tapp:vlc\tv\nbroken line\n" + other + "1780000000\t11\t0\tapp:vlc\tvl\n",
        WriteMode::Truncate);
    LearningMemory memory;
    load_history(memory, platform.get());
    // A launch another copy recorded after this one loaded is kept.
    platform.get().files.write(path, "1780000001\t12\t0\tapp:c\tc\n", WriteMode::Append);

    const ForgetOutcome outcome = forget_entry(memory, "app:vlc", platform.get());
    EXPECT_TRUE(outcome.written.ok);
    EXPECT_EQ(outcome.launches, 2u);
    EXPECT_EQ(read(platform, path), "broken line\n" + other + "1780000001\t12\t0\tapp:c\tc\n");
    ASSERT_EQ(memory.records.size(), 2u);
    EXPECT_FALSE(memory.keys.contains("app:vlc")) << "the tables are rebuilt";
    EXPECT_TRUE(memory.keys.contains("app:c"));
    EXPECT_FALSE(memory.prefix_key_weight.contains("v"));

    forget_entry(memory, "app:b", platform.get());
    const std::string log = read(platform, log_path(platform.environment));
    EXPECT_NE(log.find("oublié : app:vlc (2 lancements)"), std::string::npos) << log;
    EXPECT_NE(log.find("oublié : app:b (1 lancement)"), std::string::npos) << log;

    const ForgetOutcome everything = forget_everything(memory, platform.get());
    EXPECT_TRUE(everything.written.ok);
    EXPECT_EQ(read(platform, path), "");
    EXPECT_TRUE(memory.records.empty());
    EXPECT_TRUE(memory.keys.empty());
    EXPECT_NE(
        read(platform, log_path(platform.environment)).find("historique effacé (1 lancement)"),
        std::string::npos);
}

TEST(Forget, AFailedRewriteKeepsTheFileAndTheMemoryAndSaysWhy) {
    TestPlatform test;
    FullDiskFiles disk;
    const Platform platform{test.clock, test.environment, disk, test.get().system};
    const std::string original = "1780000000\t10\t0\tapp:vlc\tv\n1780000000\t10\t0\tapp:b\tb\n";
    disk.files[history_path(test.environment)] = original;
    LearningMemory memory;
    load_history(memory, platform);

    for (const ForgetOutcome& outcome :
         {forget_entry(memory, "app:vlc", platform), forget_everything(memory, platform)}) {
        EXPECT_FALSE(outcome.written.ok);
        EXPECT_EQ(forget_failure_text(outcome.written.error),
                  "Talvo n'a pas pu effacer l'historique : disque plein");
        EXPECT_EQ(disk.files[memory.history_path], original);
        EXPECT_EQ(memory.records.size(), 2u);
        EXPECT_TRUE(memory.keys.contains("app:vlc"));
    }
}

}  // namespace
}  // namespace talvo
