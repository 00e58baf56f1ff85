// scripts/count-tests as scripts/test runs it: reports in, three counts and
// the problems out. A program that reports no case, or fewer cases than the
// list gives it, fails; a skipped case is never a pass.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace talvo {
namespace {

namespace fs = std::filesystem;

struct Program {
    std::string name;
    int listed;  // the number of cases the list gives it
    int passed;  // cases in its report
    int skipped;
};

// A build folder with ctest's view of each program and its GoogleTest report.
fs::path fake_build(const std::vector<Program>& programs) {
    const fs::path build = fs::temp_directory_path() / ("count-tests-" + std::to_string(getpid()));
    fs::remove_all(build);
    fs::create_directories(build / "test-results");
    std::ofstream list(build / "programs.txt");
    std::ofstream junit(build / "ctest-junit.xml");
    junit << "<testsuite>\n";
    for (const Program& p : programs) {
        list << "native " << p.name << ' ' << p.listed << '\n';
        junit << "<testcase name=\"" << p.name << "\" status=\"run\"/>\n";
        std::ofstream report(build / "test-results" / (p.name + ".xml"));
        report << "<testsuites><testsuite name=\"S\">\n";
        for (int i = 0; i < p.passed + p.skipped; ++i) {
            report << "<testcase classname=\"S\" name=\"c" << i << "\" status=\"run\" result=\""
                   << (i < p.passed ? "completed" : "skipped")
                   << "\" timestamp=\"2026-12-09T10:00:00\">"
                   << (i < p.passed ? "" : "<skipped message=\"x.cpp:1&#x0A;why\"/>")
                   << "</testcase>\n";
        }
        report << "</testsuite></testsuites>\n";
    }
    junit << "</testsuite>\n";
    return build;
}

std::vector<std::string> count(const fs::path& build) {
    const std::string command = std::string(TALVO_COUNT_TESTS_PATH) + " native " + build.string() +
                                " " + (build / "programs.txt").string();
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return lines;
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, got);
    }
    pclose(pipe);
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(CountTests, EachProgramMustReportTheCasesItIsListedWith) {
    const struct {
        const char* what;
        std::vector<Program> programs;
        std::string counts;   // passed, failed, skipped
        std::string problem;  // a line that must be printed, if any
    } cases[] = {
        {"as listed", {{"a", 3, 3, 0}}, "3 0 0", ""},
        {"a skip counts as skipped", {{"a", 2, 1, 1}}, "1 0 1", "skipped S.c1: why"},
        {"no case at all", {{"a", 1, 0, 0}, {"b", 1, 1, 0}}, "1 1 0", "a reports no test case"},
        {"fewer than listed", {{"a", 3, 2, 0}}, "2 1 0", "a reports 2 cases"},
        {"more than listed: counted and noted", {{"a", 1, 2, 0}}, "2 0 0", "can be raised"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path build = fake_build(c.programs);
        const std::vector<std::string> lines = count(build);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), c.counts);
        if (!c.problem.empty()) {
            bool said = false;
            for (const std::string& line : lines) {
                said = said || line.find(c.problem) != std::string::npos;
            }
            EXPECT_TRUE(said) << c.problem;
        } else {
            EXPECT_EQ(lines.size(), 1u) << lines.front();
        }
        fs::remove_all(build);
    }
}

}  // namespace
}  // namespace talvo
