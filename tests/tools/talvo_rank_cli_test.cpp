// talvo-rank as a user runs it: files in, ranked rows out.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "test_platform.h"

namespace talvo {
namespace {

struct Run {
    int status = -1;
    std::vector<std::string> lines;
};

Run run_rank(const std::string& arguments) {
    Run run;
    const std::string command = std::string(TALVO_RANK_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        run.lines.push_back(line);
    }
    return run;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    std::istringstream stream(line);
    for (std::string part; std::getline(stream, part, '\t');) {
        parts.push_back(part);
    }
    return parts;
}

class TalvoRank : public ::testing::Test {
protected:
    void SetUp() override {
        const Platform platform = system_platform();
        items_ = folder_.file("items.tsv");
        history_ = folder_.file("history.tsv");
        hidden_ = folder_.file("hidden.txt");
        platform.files.write(items_,
                             "VLC media player\tC:\\VLC\\vlc.exe\n"
                             "Lecteur VLC\tVendor.Vlc_x!App\n"
                             "Désinstaller VLC\tC:\\VLC\\uninstall.exe\n"
                             "Visual Studio Code\tC:\\VSC\\code.exe\n",
                             WriteMode::Truncate);
        // Lecteur VLC was chosen three times after "vl", at 9 h on weekdays.
        platform.files.write(history_,
                             "1779955200\t9\t0\tapp:Vendor.Vlc_x!App\tvl\n"
                             "1779955300\t9\t0\tapp:Vendor.Vlc_x!App\tvl\n"
                             "1779955400\t9\t0\tapp:Vendor.Vlc_x!App\tvl\n",
                             WriteMode::Truncate);
        platform.files.write(hidden_, "app:C:\\VSC\\code.exe\n", WriteMode::Truncate);
    }

    std::string files() const {
        return "--items '" + items_ + "' --history '" + history_ + "' --hidden '" + hidden_ +
               "' --now 1779958800 --tz UTC";
    }

    testing::ScratchFolder folder_;
    std::string items_;
    std::string history_;
    std::string hidden_;
};

TEST_F(TalvoRank, RanksWithLearningHidingAndExclusions) {
    const Run run = run_rank(files() + " vl vis");
    ASSERT_EQ(run.status, 0);
    ASSERT_GE(run.lines.size(), 3u);
    EXPECT_EQ(run.lines[0], "# « vl »");
    // The learned choice after "vl" leads, above the name prefix.
    EXPECT_EQ(fields(run.lines[1]), (std::vector<std::string>{"1", fields(run.lines[1])[1],
                                                               "app:Vendor.Vlc_x!App",
                                                               "Lecteur VLC"}));
    EXPECT_EQ(fields(run.lines[2])[2], "app:C:\\VLC\\vlc.exe");
    for (const std::string& line : run.lines) {
        EXPECT_EQ(line.find("Désinstaller"), std::string::npos);  // uninstallers left out
        EXPECT_EQ(line.find("Visual Studio Code"), std::string::npos);  // hidden
    }
}

TEST_F(TalvoRank, EmptyQueryListsTheSuggestions) {
    const Run run = run_rank(files() + " ''");
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(fields(run.lines[1])[2], "app:Vendor.Vlc_x!App");
}

TEST_F(TalvoRank, BadUseExitsWithTwo) {
    EXPECT_EQ(run_rank("").status, 2);
    EXPECT_EQ(run_rank("--history /nonexistent/file x").status, 2);
    EXPECT_EQ(run_rank("--help").status, 0);
}

}  // namespace
}  // namespace talvo
