// The test doubles' civil-date arithmetic against known dates.
#include <gtest/gtest.h>

#include "test_platform.h"

namespace talvo::testing {
namespace {

TEST(TestPlatform, CivilDatesRoundTripThroughKnownInstants) {
    EXPECT_EQ(civil_from_unix(0), (LocalTime{1970, 1, 1, 0, 0, 0, 4}));
    // 2026-03-07 08:05:09 UTC was a Saturday.
    const std::int64_t t = unix_from_civil(2026, 3, 7, 8, 5, 9);
    EXPECT_EQ(t, 1772870709);
    EXPECT_EQ(civil_from_unix(t), (LocalTime{2026, 3, 7, 8, 5, 9, 6}));
    EXPECT_EQ(civil_from_unix(unix_from_civil(2024, 2, 29, 23, 59, 59)),
              (LocalTime{2024, 2, 29, 23, 59, 59, 4}));
    EXPECT_EQ(civil_from_unix(-1), (LocalTime{1969, 12, 31, 23, 59, 59, 3}));
}

TEST(TestPlatform, ScratchFolderIsCreatedAndRemoved) {
    std::string kept;
    {
        ScratchFolder folder;
        kept = folder.path();
        EXPECT_TRUE(system_platform().files.exists(kept));
    }
    EXPECT_FALSE(system_platform().files.exists(kept));
}

}  // namespace
}  // namespace talvo::testing
