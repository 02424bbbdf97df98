// The virtual memory's figures as the window words them, and the minutes that will name their
// programs in the history.
#include "memory/memory_figures.h"

#include <gtest/gtest.h>

#include <limits>

#include "history/busy_minute.h"
#include "memory/process_growth.h"

namespace corvane::testing {
namespace {

constexpr uint64_t kMiB = 1048576;
constexpr uint64_t kGiB = 1024 * kMiB;

TEST(MemoryFigures, PagesBecomeBytesAndWholeMoWithoutWrapping) {
    EXPECT_EQ(pagesToBytes(76800, 4096), 300 * kMiB);
    EXPECT_EQ(pagesToBytes(3, 65536), 196608u);  // Itanium-sized pages
    // A garbage page count saturates: it must not wrap to a small, believable size.
    EXPECT_EQ(pagesToBytes(std::numeric_limits<uint64_t>::max() / 4096 + 1, 4096),
              std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(wholeMo(300 * kMiB), 300);
    EXPECT_EQ(wholeMo(kMiB / 2), 0);  // a half to even
    EXPECT_EQ(wholeMo(3 * kMiB / 2), 2);
    EXPECT_EQ(wholeMo(std::numeric_limits<uint64_t>::max()), std::numeric_limits<int32_t>::max());
}

TEST(MemoryFigures, SizesAreWholeMoInPlainDigitsAsEverywhereElseInTheProgram) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 Mo"},
        {812 * kMiB, "812 Mo"},
        {1000 * kMiB, "1000 Mo"},  // no change of unit past three digits
        {12 * kGiB, "12288 Mo"},
        {static_cast<uint64_t>(23.5 * kGiB), "24064 Mo"},
        {1536 * kGiB, "1572864 Mo"},
        {kMiB / 2, "0 Mo"},  // a half to even
        {3 * kMiB / 2, "2 Mo"},
        {kMiB + kMiB / 2 + 1, "2 Mo"},
        {std::numeric_limits<uint64_t>::max(), "17592186044416 Mo"},  // no wrap, no cap
    };
    for (const auto& c : cases) EXPECT_EQ(sizeText(c.bytes), c.text) << c.bytes;
}

TEST(MemoryFigures, GrowthIsSignedAndNoChangeHasNoSign) {
    EXPECT_EQ(growthText(300 * static_cast<int64_t>(kMiB)), "+300 Mo");
    EXPECT_EQ(growthText(-12 * static_cast<int64_t>(kMiB)), "-12 Mo");
    EXPECT_EQ(growthText(0), "0 Mo");
    EXPECT_EQ(growthText(100000), "0 Mo");  // less than half a Mo
    EXPECT_EQ(growthText(-2 * static_cast<int64_t>(kGiB)), "-2048 Mo");
    EXPECT_EQ(growthText(std::numeric_limits<int64_t>::min()).substr(0, 1), "-");
}

TEST(MemoryFigures, CommitReadsUsedOverLimitWithItsShare) {
    CommitCharge commit{5 * kGiB + 120 * kMiB, 12 * kGiB, 7 * kGiB};
    EXPECT_EQ(commitText(commit), "Engagement : 5240 Mo / 12288 Mo (43 %)");
    EXPECT_EQ(commitPermille(commit), 426);
    EXPECT_EQ(commitPermille({13 * kGiB, 12 * kGiB, 0}), 1000);  // beyond the limit: a full bar
    EXPECT_EQ(commitPermille({kGiB, 0, 0}), 0);                  // no limit given
    EXPECT_EQ(commitText(std::nullopt), "Engagement : non disponible sur cette version de Windows");
}

TEST(MemoryFigures, PeaksSayWhatTheSystemDoesNotKeepAndWhatNoSampleHasGivenYet) {
    EXPECT_EQ(peaksText(CommitCharge{4 * kGiB, 12 * kGiB, 7 * kGiB}, 5120),
              "Pic depuis le démarrage de Windows : 7168 Mo    Maximum de l'analyse : 5120 Mo");
    // A peak below the commit in use is one the system does not keep (Wine gives 0).
    EXPECT_EQ(peaksText(CommitCharge{4 * kGiB, 12 * kGiB, 0}, 0),
              "Pic depuis le démarrage de Windows : non communiqué    Maximum de l'analyse : -");
    EXPECT_EQ(peaksText(std::nullopt, 700),
              "Pic depuis le démarrage de Windows : non disponible sur cette version de Windows"
              "    Maximum de l'analyse : 700 Mo");
}

TEST(MemoryFigures, TheAnalysisMaximumOnlyRises) {
    EXPECT_EQ(raisedMaximum(0, 300 * kMiB), 300);
    EXPECT_EQ(raisedMaximum(500, 300 * kMiB), 500);
    EXPECT_EQ(raisedMaximum(500, 501 * kMiB), 501);
}

TEST(BusyMinute, AMinuteQualifiesWhenTheSwapGrewOrTheCommitPassedNineTenths) {
    MinuteMemory steady{1536, 1536, 1536, 4 * kGiB, 12 * kGiB};
    EXPECT_FALSE(swapGrew(steady));
    EXPECT_FALSE(minuteQualifies(steady));

    MinuteMemory grewSinceBefore = steady;
    grewSinceBefore.previousSwapMo = 1500;
    EXPECT_TRUE(swapGrew(grewSinceBefore));
    MinuteMemory grewWithin = steady;
    grewWithin.largestSwapMo = 1600;
    EXPECT_TRUE(swapGrew(grewWithin));
    // Shrunk since the minute before, then grew back within the minute: it grew.
    MinuteMemory shrankThenGrew{1600, 1400, 1500, 4 * kGiB, 12 * kGiB};
    EXPECT_TRUE(swapGrew(shrankThenGrew));
    MinuteMemory shrank{1600, 1400, 1400, 4 * kGiB, 12 * kGiB};
    EXPECT_FALSE(swapGrew(shrank));
    // The first minute recorded compares within itself only.
    EXPECT_FALSE(swapGrew({std::nullopt, 1536, 1536, 0, 0}));
    EXPECT_TRUE(swapGrew({std::nullopt, 1536, 1540, 0, 0}));

    EXPECT_FALSE(commitNearLimit(9 * kGiB, 10 * kGiB));  // exactly 90 %: not past it
    EXPECT_TRUE(commitNearLimit(9 * kGiB + 1, 10 * kGiB));
    EXPECT_FALSE(commitNearLimit(9 * kGiB, 0));  // no limit known
    // Figures near 2^64 would wrap if multiplied in integers.
    EXPECT_TRUE(commitNearLimit(std::numeric_limits<uint64_t>::max(),
                                std::numeric_limits<uint64_t>::max() / 2));
    MinuteMemory nearLimit = steady;
    nearLimit.commit = 11 * kGiB;
    EXPECT_TRUE(minuteQualifies(nearLimit));
}

TEST(BusyMinute, TheMinuteNamesItsThreeLargestProgramsByCommit) {
    std::vector<ProgramFigures> programs = {
        {"a.exe", 10, 100 * kMiB, 0, 0},  {"b.exe", 20, 900 * kMiB, 5, 5},
        {"c.exe", 30, 300 * kMiB, 50, 9}, {"d.exe", 40, 300 * kMiB, 60, 1},
        {"e.exe", 5, 300 * kMiB, 0, 0},
    };
    std::vector<ProgramFigures> three = programsOfTheMinute(programs);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].name, "b.exe");
    // Equal commit: the smaller process id first, whatever their growth.
    EXPECT_EQ(three[1].name, "e.exe");
    EXPECT_EQ(three[2].name, "c.exe");
    EXPECT_EQ(three[2].hourGrowthBytes, 50);  // with its figures
    EXPECT_EQ(programsOfTheMinute({programs[0]}).size(), 1u);
    EXPECT_TRUE(programsOfTheMinute({}).empty());
}

}  // namespace
}  // namespace corvane::testing
