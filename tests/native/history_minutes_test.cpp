// The history's minutes: UTC minute arithmetic, one record per sampled minute, and the ticks
// that feed them into "Corvane.csv".
#include "harness.h"
#include "history/history_csv.h"
#include "history/minute_aggregator.h"
#include "history/utc_minutes.h"

namespace corvane::testing {
namespace {

int32_t minute(int year, int month, int day, int hour, int min) {
    return *minuteOf({year, month, day, hour, min, 0});
}

TEST(UtcMinutes, CountFromNineteenSeventyAndBackAcrossMonthYearAndLeapDay) {
    EXPECT_EQ(minute(1970, 1, 1, 0, 0), 0);
    EXPECT_EQ(minute(1970, 1, 2, 0, 1), 1441);
    EXPECT_EQ(minute(2027, 1, 1, 0, 0) - minute(2026, 12, 31, 23, 59), 1);
    EXPECT_EQ(minute(2028, 3, 1, 0, 0) - minute(2028, 2, 28, 0, 0), 2 * 1440);  // leap year
    EXPECT_EQ(minute(2100, 3, 1, 0, 0) - minute(2100, 2, 28, 0, 0), 1440);      // not one
    for (int32_t m : {0, 1439, minute(2026, 12, 8, 6, 17), minute(2028, 2, 29, 23, 59),
                      minute(kLastYear, 12, 31, 23, 59)}) {
        std::optional<int32_t> back = minuteOf(dateTimeOf(m));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, m);
    }
    DateTime leap = dateTimeOf(minute(2028, 2, 29, 13, 5));
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.hour, 13);
    EXPECT_EQ(leap.minute, 5);
}

TEST(UtcMinutes, DatesThatDoNotExistHaveNoMinute) {
    EXPECT_FALSE(minuteOf({2026, 2, 29, 0, 0, 0}));
    EXPECT_FALSE(minuteOf({2026, 4, 31, 0, 0, 0}));
    EXPECT_FALSE(minuteOf({2026, 13, 1, 0, 0, 0}));
    EXPECT_FALSE(minuteOf({2026, 0, 1, 0, 0, 0}));
    EXPECT_FALSE(minuteOf({2026, 12, 8, 24, 0, 0}));
    EXPECT_FALSE(minuteOf({2026, 12, 8, 6, 60, 0}));
    EXPECT_FALSE(minuteOf({1969, 12, 31, 23, 59, 0}));
    EXPECT_FALSE(minuteOf({kLastYear + 1, 1, 1, 0, 0, 0}));
}

TEST(MinuteAggregator, FoldsAMinuteAndHandsItOverWhenTheNextBegins) {
    MinuteAggregator a;
    EXPECT_FALSE(a.add({100, 1536, 800, kUnknownMo}));
    EXPECT_FALSE(a.add({100, 1600, 810, 120}));
    EXPECT_FALSE(a.add({100, 1550, 805, kUnknownMo}));
    std::optional<MinuteRecord> done = a.add({101, 1700, 900, 200});
    ASSERT_TRUE(done);
    // Smallest, largest, last; memory of the last sample; in use as last reported.
    EXPECT_EQ(*done, (MinuteRecord{100, 1536, 1600, 1550, 805, 120}));
    EXPECT_EQ(a.finish(), (MinuteRecord{101, 1700, 1700, 1700, 900, 200}));
    EXPECT_FALSE(a.finish());
}

TEST(MinuteAggregator, AGapLeavesNoRecordAndAClockPutBackEndsTheMinuteToo) {
    MinuteAggregator a;
    a.add({100, 10, 1, kUnknownMo});
    std::optional<MinuteRecord> first = a.add({104, 20, 1, kUnknownMo});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->minute, 100);
    std::optional<MinuteRecord> second = a.add({90, 30, 1, kUnknownMo});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->minute, 104);
    EXPECT_EQ(second->lastMo, 20);
    EXPECT_EQ(a.finish()->minute, 90);
}

// Samples fed by the tick, over the fake clock.
class RecordingTest : public MonitorTest {
protected:
    void SetUp() override {
        fake.files.put("C:\\Corvane\\Corvane.exe", "");
        setSwapMiB(1536);
        fake.system.utc = {2026, 12, 8, 23, 58, 50};
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    void tickAt(int hour, int min, int sec, uint64_t swapMiB, int day = 8) {
        fake.system.utc = {2026, 12, day, hour, min, sec};
        setSwapMiB(swapMiB);
        tick();
    }
    std::string file() { return fake.files.contents(kPath).value_or("<none>"); }
    static constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
    const std::string header = std::string(kHistoryHeader) + "\r\n";
};

TEST_F(RecordingTest, NothingIsWrittenUntilTheMinuteEndsThenOneLineForIt) {
    EXPECT_EQ(file(), header);
    tickAt(23, 58, 55, 1600);
    tickAt(23, 58, 59, 1550);
    EXPECT_EQ(file(), header);
    tickAt(23, 59, 3, 1700);
    // Used memory: 2048 - 1236 = 812 Mo; the fake reports no part in use.
    EXPECT_EQ(file(), header + "2026-12-08 23:58;1536;1600;1550;812;\r\n");
}

TEST_F(RecordingTest, ADayBoundaryAndAGapGiveOneLineForEachSampledMinute) {
    tickAt(23, 59, 30, 1540);
    tickAt(0, 0, 10, 1560, 9);
    fake.system.memory.availPhys = 1036 * kMiB;  // 1012 Mo in use
    fake.files.swapSizes["C:\\pagefile.sys"] = {true, 1580 * kMiB, 300 * kMiB + 1, 0};
    tickAt(0, 4, 0, 0, 9);  // nothing sampled from 00:01 to 00:03
    fake.files.swapSizes.clear();
    tickAt(0, 5, 0, 1590, 9);
    EXPECT_EQ(file(), header +
                          "2026-12-08 23:58;1536;1536;1536;812;\r\n"
                          "2026-12-08 23:59;1540;1540;1540;812;\r\n"
                          "2026-12-09 00:00;1560;1560;1560;812;\r\n"
                          "2026-12-09 00:04;1580;1580;1580;1012;300\r\n");
    EXPECT_EQ(window.state().history.records().size(), 4u);
}

TEST_F(RecordingTest, AnUnreadableSizeIsNoSampleAndTheExitWritesTheMinuteInProgress) {
    fake.files.swapSizes["C:\\pagefile.sys"] = {false, 0, std::nullopt, 32};
    tickAt(23, 59, 10, 0);
    fake.files.swapSizes.clear();
    // The 23:58 minute has had no sample to end it.
    EXPECT_EQ(file(), header);
    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(file(), header + "2026-12-08 23:58;1536;1536;1536;812;\r\n");

    fake::FakePlatform other;
    other.files.put("C:\\Corvane\\Corvane.exe", "");
    other.files.resize("C:\\pagefile.sys", 100 * kMiB);
    other.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 100 200"});
    MainWindow second(other.platform);
    second.onLoad();
    second.onUnload();
    EXPECT_EQ(other.files.contents(kPath).value_or(""),
              header + "2026-12-08 06:15;100;100;100;0;\r\n");
}

}  // namespace
}  // namespace corvane::testing
