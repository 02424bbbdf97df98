// The sampling tick as the window shows it: the swap statistics, the minimised caption and
// the scratch list window.
#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

class SamplingTest : public CorvaneTest {};

TEST_F(SamplingTest, FileGrownBetweenTwoSamplesGivesTheirStatistics) {
    launch();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    setSwapSize(30 * kMiB);
    tickUntilSwapReads("SWAP: 30 Mo  Mini: 30 Mo  Maxi: 70 Mo  Moy: 50 Mo");
}

TEST_F(SamplingTest, FileOfFiveGibibytesReadsInWholeMo) {
    setSwapSize(5ull << 30);
    launch();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 5120 Mo  Mini: 5120 Mo  Maxi: 5120 Mo  Moy: 5120 Mo");
}

TEST_F(SamplingTest, MinimisedWindowShowsTheStatisticsInItsCaption) {
    launch();
    setSwapSize(70 * kMiB);
    ShowWindow(main.handle(), SW_MINIMIZE);
    ASSERT_TRUE(pollUntil([&] { return main.minimised(); })) << "the window did not minimise";
    main.postTimer(kTimer1);
    EXPECT_EQ(main.waitText("SW:"), "SW:70  min:50  Max:70 Moy:60");

    ShowWindow(main.handle(), SW_RESTORE);
    ASSERT_TRUE(pollUntil([&] { return !main.minimised(); }));
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 63 Mo");
    EXPECT_EQ(main.text(), kMessageTitle);
}

TEST_F(SamplingTest, KeyDShowsTheScratchListsWhichEachTickRefills) {
    launch();
    main.postChar(L'd');
    const Window db = waitWindow(corvane->id(), kDbClass);
    EXPECT_EQ(db.text(), "Form1");
    ASSERT_TRUE(db.hasControl(kList1));
    ASSERT_TRUE(db.hasControl(kList2));
    EXPECT_EQ(lstrcmpiA(db.control(kList1).className().c_str(), "ListBox"), 0);
    EXPECT_EQ(lstrcmpiA(db.control(kList2).className().c_str(), "ListBox"), 0);

    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");
    const std::vector<std::string> lines = db.control(kList1).listItems();
    ASSERT_EQ(lines.size(), 7u);
    const char* starts[] = {
        "MemoryLoad : ",   "TotalPhys : ",     "AvailPhys : ",    "AvailVirtual : ",
        "TotalVirtual : ", "AvailPageFile : ", "TotalPageFile : "};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(starts[i], 0), 0u) << lines[i];
        EXPECT_GT(lines[i].size(), std::string(starts[i]).size()) << lines[i];
    }
    EXPECT_EQ(lines[0].back(), '%');
    shot("db-window", db);
}

TEST_F(SamplingTest, CapitalDDoesNothing) {
    launch();
    main.postChar(L'D');
    // The tick posted after the key is handled after it: once it shows, "D" has been seen.
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");
    EXPECT_TRUE(topWindows(corvane->id(), kDbClass).empty()) << "\"D\" showed the lists";
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_TRUE(corvane->running());
}

}  // namespace
}  // namespace corvane::wine
