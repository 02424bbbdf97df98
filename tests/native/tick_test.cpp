// The sampling tick: statistics, labels, caption and the scratch list.
#include "program/tick.h"

#include "harness.h"

namespace corvane::testing {
namespace {

class TickTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
};

TEST_F(TickTest, FirstSampleIsShownAtStartUpAndTheNextOnesAverage) {
    EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    setSwapMiB(70);
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    setSwapMiB(40);
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 40 Mo  Mini: 40 Mo  Maxi: 70 Mo  Moy: 53 Mo");
    EXPECT_EQ(window.state().stats.sampleCount, 3);
    EXPECT_EQ(std::get<double>(window.state().stats.total), 160);
}

TEST_F(TickTest, SizesRoundToTheNearestMoHalvesToEven) {
    fake.files.resize("C:\\pagefile.sys", 50 * kMiB + kMiB / 2);  // 50.5 Mo
    tick();
    EXPECT_EQ(window.state().stats.current, 50);
    fake.files.resize("C:\\pagefile.sys", 51 * kMiB + kMiB / 2);  // 51.5 Mo
    tick();
    EXPECT_EQ(window.state().stats.current, 52);
    // Average 152 / 3 = 50.67
    EXPECT_EQ(window.state().stats.average, 51);
}

TEST_F(TickTest, FilesOfSeveralGigabytesReadInFull) {
    fake.files.resize("C:\\pagefile.sys", 5ULL * 1024 * kMiB);
    tick();
    EXPECT_EQ(window.state().stats.current, 5120);
    EXPECT_EQ(window.state().stats.maximum, 5120);
}

TEST_F(TickTest, AnUnreadableLengthCountsNoSampleAndSamplingResumes) {
    setSwapMiB(70);
    tick();
    Statistics before = window.state().stats;
    fake.files.swapSizes["C:\\pagefile.sys"] = {false, 0, std::nullopt, 32};
    tick();
    tick();
    EXPECT_EQ(window.state().stats.sampleCount, before.sampleCount);
    EXPECT_EQ(window.state().stats.total, before.total);
    EXPECT_EQ(label(Control::swap), "SWAP: taille illisible (C:\\pagefile.sys)");
    EXPECT_TRUE(fake.dialogs.shown.empty());
    // The elapsed time and the memory still move on.
    fake.system.ticks += 5000;
    tick();
    EXPECT_EQ(label(Control::DebutWin), " 5 s");
    fake.files.swapSizes.clear();
    tick();
    EXPECT_EQ(window.state().stats.sampleCount, before.sampleCount + 1);
    EXPECT_EQ(label(Control::swap), "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 63 Mo");
}

TEST_F(TickTest, ElapsedTimeStaysRightAcrossTheThirtyTwoBitTickLimits) {
    fake.system.ticks = (1ULL << 31) - 1000;
    window.context().state.stats.startTick = static_cast<double>(fake.system.ticks);
    fake.system.ticks += 2000;  // past 2^31
    tick();
    EXPECT_EQ(label(Control::DebutWin), " 2 s");
    fake.system.ticks = (1ULL << 32) + 3600000 + 1000;  // past 2^32
    tick();
    // 2^32 + 3 602 000 - 2^31 + 1000 ms = 597 h 31 mn 25.648 s
    EXPECT_EQ(label(Control::DebutWin), "597 h 31 mn 26 s");
}

TEST_F(TickTest, MemoryLabelReadsTheStatusEveryTick) {
    EXPECT_EQ(label(Control::MemLibre),
              "Occupation RAM : 812/2048 Mo    Ressources utilisées : 39%");
    fake.system.memory.availPhys = 236 * kMiB;
    fake.system.memory.memoryLoad = 88;
    tick();
    EXPECT_EQ(label(Control::MemLibre),
              "Occupation RAM : 1812/2048 Mo    Ressources utilisées : 88%");
}

TEST_F(TickTest, MinimisedWindowShowsTheStatisticsInItsCaption) {
    fake.view.minimised = true;
    tick();
    EXPECT_EQ(fake.view.windowCaption, "SW:50  min:50  Max:50 Moy:50");
    fake.view.minimised = false;
    tick();
    EXPECT_EQ(fake.view.windowCaption, "Corvane V 1.0.0");
}

TEST_F(TickTest, ScratchListGetsSevenMemoryLinesWhileActive) {
    ASSERT_EQ(fake.db.lists[DbList::List1].size(), 7u);
    EXPECT_EQ(fake.db.lists[DbList::List1][0], "MemoryLoad : 39%");
    tick();
    EXPECT_EQ(fake.db.lists[DbList::List1].size(), 7u);  // cleared before it is filled
    fake.db.unload();
    window.onDbUnload();
    tick();
    EXPECT_FALSE(fake.db.loaded);
    EXPECT_TRUE(fake.db.lists[DbList::List1].empty());
}

TEST(AddSample, FirstSampleSetsMinimumAndMaximumWhateverTheyHeld) {
    Statistics s;         // as after a reset: minimum 32767, maximum 0
    addSample(s, 40960);  // a 40 GiB paging file
    EXPECT_EQ(s.minimum, 40960);
    EXPECT_EQ(s.maximum, 40960);
    EXPECT_EQ(s.average, 40960);
    addSample(s, 40000);
    EXPECT_EQ(s.minimum, 40000);
    addSample(s, 40960);  // equal to the maximum: nothing changes
    EXPECT_EQ(s.maximum, 40960);
    EXPECT_EQ(s.minimum, 40000);
}

TEST(AddSample, ContinuesFromLoadedStatistics) {
    Statistics s;
    s.sampleCount = 10;
    s.total = std::string("1000");  // as the store hands it over
    s.minimum = 90;
    s.maximum = 110;
    addSample(s, 90);  // equal to the minimum: nothing changes
    EXPECT_EQ(s.minimum, 90);
    EXPECT_EQ(s.sampleCount, 11);
    EXPECT_EQ(s.average, 99);  // 1090 / 11 = 99.09
}

TEST(AddSample, SampleCountAtItsLimitRaisesOverflow) {
    Statistics s;
    s.sampleCount = 2147483647;
    try {
        addSample(s, 1);
        FAIL() << "no overflow raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), kErrOverflow);
    }
}

}  // namespace
}  // namespace corvane::testing
