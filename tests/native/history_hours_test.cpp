// The history at constant cost: hours made from minutes, start-up reading only the end of the
// file, the rest read when a view asks, the views drawing from whichever detail is there, and
// the export of both details.
#include <gtest/gtest.h>

#include <limits>

#include "fake_platform.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_plot.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "memory_files.h"

namespace corvane {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\CORVANE\\CORVANE.CSV";
constexpr const char* kHours = "C:\\CORVANE\\CORVANE-HEURES.CSV";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);
constexpr int32_t kEver = std::numeric_limits<int32_t>::min();

MinuteRecord at(int32_t minute, int32_t lo, int32_t hi, int32_t last, int32_t memory = 800,
                int32_t inUse = kUnknownMo) {
    return {minute, lo, hi, last, memory, inUse};
}

// Minutes of a swap file that swings within each day, ending with `last`.
std::vector<MinuteRecord> days(int32_t count, int32_t last) {
    std::vector<MinuteRecord> minutes;
    for (int32_t m = last - count * 1440 + 1; m <= last; ++m) {
        int32_t size = 1000 + (m % 1440) / 4;
        minutes.push_back(at(m, size - 2, size + 3, size, 2000 + m % 7, m % 5 ? 100 : kUnknownMo));
    }
    return minutes;
}

TEST(HistoryHours, AnHourHoldsItsMinutesBandAndItsLargestMemoryAndSwapInUse) {
    const int32_t h = hourOf(kNowMinute);
    std::vector<MinuteRecord> minutes{
        at(h - 1, 10, 20, 15, 900, 50),  // the last minute of the hour before
        at(h, 30, 40, 35, 700, kUnknownMo),
        at(h + 17, 5, 60, 60, 950, 70),
        at(h + 59, 31, 33, 32, 800, 60),
        // No minute for two hours (the machine off), then one.
        at(h + 180, 1, 1, 1, 1, kUnknownMo),
    };
    EXPECT_EQ(hoursOf(minutes), (std::vector<MinuteRecord>{
                                    at(h - 60, 10, 20, 15, 900, 50),
                                    at(h, 5, 60, 32, 950, 70),
                                    at(h + 180, 1, 1, 1, 1, kUnknownMo),
                                }));
    // The same hour from both sides (the clock put back into an hour already filed): the
    // widest band, the largest memory and part in use, the later last size.
    EXPECT_EQ(mergeHours({at(h, 30, 40, 35, 700, 10), at(h + 60, 1, 2, 2)},
                         {at(h - 60, 7, 7, 7), at(h, 20, 35, 21, 720, kUnknownMo)}),
              (std::vector<MinuteRecord>{at(h - 60, 7, 7, 7), at(h, 20, 40, 21, 720, 10),
                                         at(h + 60, 1, 2, 2)}));
}

class HistoryAtConstantCost : public ::testing::Test {
protected:
    void put(const char* path, const std::string& bytes) { files.files[path] = bytes; }
    std::string file(const char* path) {
        auto it = files.files.find(path);
        return it == files.files.end() ? "<none>" : it->second;
    }
    fake::MemoryFiles files;
};

TEST_F(HistoryAtConstantCost, StartUpReadsTheEndOfAFileOfEarlierVersionsAndTheRestLater) {
    // 400 days of minutes in one file, as earlier versions kept them: 24 MB.
    std::vector<MinuteRecord> year = days(400, kNowMinute - 1);
    std::string original = historyText(year);
    put(kPath, original);
    History history;
    history.open(files, kDir, kNow);
    EXPECT_LE(files.bytesRead, History::kTailBytes + 4096);
    EXPECT_EQ(file(kPath), original) << "rewritten at start-up";
    ASSERT_FALSE(history.records().empty());
    EXPECT_EQ(history.records().back(), year.back());
    EXPECT_GE(history.records().size(), 1440u) << "the 24 hours of the window's first span";
    // The tail is sized for a day of today's longer lines (with the commit): of the earlier
    // versions' shorter ones it holds about two days, never the year.
    EXPECT_LT(history.records().size(), 3500u);

    // The first minute recorded folds what is older than 31 days into hours: the hours go in
    // first, then the minutes' file is cut to its last 31 days.
    history.addSample(files, {kNowMinute, 1500, 2100, kUnknownMo});
    history.addSample(files, {kNowMinute + 1, 1500, 2100, kUnknownMo});
    int32_t cut = hourOf(kNowMinute - 31 * 1440);
    std::vector<MinuteRecord> kept(year.end() - (kNowMinute - cut), year.end());
    kept.push_back(at(kNowMinute, 1500, 1500, 1500, 2100));
    EXPECT_EQ(file(kPath), historyText(kept));
    std::vector<MinuteRecord> older(year.begin(), year.end() - (kNowMinute - cut));
    EXPECT_EQ(file(kHours), historyText(hoursOf(older), kHourHeader));
    EXPECT_LT(history.records().size(), 3500u) << "memory holds what it held";

    // A view of everything reads the rest: hours, then minutes.
    history.load(files, kEver);
    EXPECT_EQ(history.hours(), hoursOf(older));
    EXPECT_EQ(history.records(), kept);

    // The next start reads the same small end, whatever the history's age.
    files.bytesRead = 0;
    History next;
    next.open(files, kDir, kNow);
    EXPECT_LE(files.bytesRead, History::kTailBytes + 4096);
}

TEST_F(HistoryAtConstantCost, ViewsDrawFromWhicheverDetailIsThereWithTheBandStillTrue) {
    fake::FakeSystem system;
    std::vector<MinuteRecord> minutes = days(31, kNowMinute);
    std::vector<MinuteRecord> hours = hoursOf(days(369, kNowMinute - 31 * 1440));
    // One hour a year ago with a sharp peak: every span that shows it shows its whole band.
    MinuteRecord& peak = hours[100];
    peak.minMo = 10;
    peak.maxMo = 5000;
    AnalysisFigures none;
    HistoryPicture all =
        layoutHistory(hours, minutes, none, HistoryRange::All, kNowMinute, 800, 60, system);
    EXPECT_EQ(all.span.start, hours.front().minute);
    EXPECT_EQ(all.span.end, kNowMinute + 1);
    int columnsWithData = 0;
    bool peakShown = false;
    for (const HistoryColumn& c : all.columns) {
        columnsWithData += c.hasData ? 1 : 0;
        if (c.hasData && c.minMo == 10 && c.maxMo == 5000) peakShown = true;
    }
    EXPECT_EQ(columnsWithData, 800) << "a gap between the hours and the minutes";
    EXPECT_TRUE(peakShown);
    EXPECT_GE(all.axis.high, 5000);
    EXPECT_LE(all.axis.low, 10);

    // "24 h" is drawn from minutes alone: at 800 columns over 1440 minutes, a column holds
    // what two or three minutes saw, never an hour.
    HistoryPicture day =
        layoutHistory(hours, minutes, none, HistoryRange::Day, kNowMinute, 800, 60, system);
    for (const HistoryColumn& c : day.columns) {
        ASSERT_TRUE(c.hasData);
        EXPECT_LE(c.lastMinute - c.minute, 2);
    }
    // A week of hours where the minutes are gone: each hour fills every column it covers.
    std::vector<MinuteRecord> week = hoursOf(days(7, kNowMinute));
    HistoryPicture weekOfHours =
        layoutHistory(week, {}, none, HistoryRange::Week, kNowMinute, 800, 60, system);
    for (const HistoryColumn& c : weekOfHours.columns) EXPECT_TRUE(c.hasData);
    EXPECT_EQ(firstMinuteNeeded(HistoryRange::Week, kNowMinute), kNowMinute + 1 - 7 * 1440);
    EXPECT_EQ(firstMinuteNeeded(HistoryRange::All, kNowMinute), kEver);
}

TEST_F(HistoryAtConstantCost, TheExportHoldsHoursThenMinutesAndSaysWhichIsWhich) {
    std::vector<MinuteRecord> minutes = days(2, kNowMinute - 1);
    std::vector<MinuteRecord> hours = hoursOf(days(3, kNowMinute - 2 * 1440 - 1));
    put(kPath, historyText(minutes));
    put(kHours, historyText(hours, kHourHeader));
    History history;
    history.open(files, kDir, kNow);
    history.addSample(files, {kNowMinute, 1500, 2100, kUnknownMo});
    history.exportTo(files, "D:\\export.csv");
    std::string expected = exportText(hours, minutes);
    EXPECT_EQ(file("D:\\EXPORT.CSV"), expected);
    EXPECT_EQ(expected.substr(0, expected.find('\r')),
              "Type;Minute ou heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage "
              "(Mo);SWAP en usage (Mo);Engagement (Mo);Limite d'engagement (Mo);Alertes;"
              "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
              "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
              "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)");
    EXPECT_EQ(expected.substr(expected.find('\n') + 1, 23),
              "heure;" + formatMinute(hours[0].minute) + ";");

    // A file that cannot be read is not exported as if it were empty.
    files.failing = fake::MemoryFiles::kRead;
    files.failure = kErrPermissionDenied;
    History unread;
    unread.open(files, kDir, kNow);
    try {
        unread.exportTo(files, "D:\\autre.csv");
        FAIL() << "exported without the files";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kErrPermissionDenied);
    }
    EXPECT_EQ(file("D:\\AUTRE.CSV"), "<none>");
}

}  // namespace
}  // namespace corvane
