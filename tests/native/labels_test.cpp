// The texts of the sampling tick, as the user reads them.
#include "stats/labels.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ElapsedLabel, BuildsFromTheRightAndLeavesOutEmptyParts) {
    EXPECT_EQ(elapsedLabel((2 * 3600 + 5 * 60 + 25) * 1000LL), "2 h 5 mn 25 s");
    EXPECT_EQ(elapsedLabel((3600 + 7) * 1000LL), "1 h 7 s");
    EXPECT_EQ(elapsedLabel(42000), " 42 s");
    EXPECT_EQ(elapsedLabel(0), " 0 s");
    EXPECT_EQ(elapsedLabel(5 * 60000), " 5 mn 0 s");
}

TEST(ElapsedLabel, SecondsRoundHalfToEvenThenWrapAtSixty) {
    EXPECT_EQ(elapsedLabel(59999), " 0 s");  // 60 after rounding, modulo 60
    EXPECT_EQ(elapsedLabel(3600000), "1 h 0 s");
    EXPECT_EQ(elapsedLabel(2500), " 2 s");  // 2.5 to even
    EXPECT_EQ(elapsedLabel(3500), " 4 s");
    EXPECT_EQ(elapsedLabel(59500), " 0 s");  // 59.5 to 60, then 0
}

TEST(ElapsedLabel, MonthsOfAnalysisCountHoursPastAnyThirtyTwoBitLimit) {
    int64_t ninetyDays = 90LL * 24 * 3600 * 1000 + 61000;
    EXPECT_EQ(elapsedLabel(ninetyDays), "2160 h 1 mn 1 s");
    EXPECT_EQ(elapsedLabel(5000LL * 3600 * 1000), "5000 h 0 s");
}

TEST(SwapLabel, ShowsCurrentMinimumMaximumAverage) {
    Statistics s;
    s.current = 70;
    s.minimum = 50;
    s.maximum = 70;
    s.average = 60;
    EXPECT_EQ(swapLabel(s), "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    EXPECT_EQ(minimisedCaption(s), "SW:70  min:50  Max:70 Moy:60");
}

TEST(MemoryLabel, UsesTheTotalRoundedUpNearAWholeMo) {
    MemoryStatus m;
    m.memoryLoad = 39;
    m.totalPhys = 2048ULL * 1048576 - 100000;  // a little under 2048 Mo
    m.availPhys = 1236ULL * 1048576 + 500000;
    EXPECT_EQ(totalPhysicalMo(m), 2048);
    EXPECT_EQ(usedPhysicalMo(m), 812);
    EXPECT_EQ(memoryLabel(812, 2048, 39),
              "Occupation RAM : 812/2048 Mo    Ressources utilisées : 39%");
}

TEST(MemoryLabel, MachinesWithMoreThanFourGigabytesReadRight) {
    MemoryStatus m;
    m.totalPhys = 25276157952ULL;  // 24 GiB machine, as GlobalMemoryStatusEx reports it
    m.availPhys = 20000ULL * 1048576;
    EXPECT_EQ(totalPhysicalMo(m), 24105);
    EXPECT_EQ(usedPhysicalMo(m), 4105);
}

TEST(MemoryLines, SevenLinesWithTheUsersDecimalSeparator) {
    MemoryStatus m{39,
                   2048ULL * 1048576,
                   1024ULL * 1048576 + 524288,
                   4096ULL * 1048576,
                   3000ULL * 1048576,
                   2047ULL * 1048576,
                   1900ULL * 1048576};
    std::vector<std::string> lines = memoryLines(m, ",");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "MemoryLoad : 39%");
    EXPECT_EQ(lines[1], "TotalPhys : 2048,6103515625");
    EXPECT_EQ(lines[2], "AvailPhys : 1024,5");
    EXPECT_EQ(lines[3], "AvailVirtual : 1900");
    EXPECT_EQ(lines[4], "TotalVirtual : 2047");
    EXPECT_EQ(lines[5], "AvailPageFile : 3000");
    EXPECT_EQ(lines[6], "TotalPageFile : 4096");
}

}  // namespace
}  // namespace corvane
