// The history window's arithmetic: spans, columns, scale, axis marks and the pointer's text.
#include "history/history_plot.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "history/utc_minutes.h"

namespace corvane {
namespace {

const int32_t kNow = *minuteOf({2026, 12, 8, 6, 15, 0});

MinuteRecord rec(int32_t minute, int32_t lo, int32_t hi, int32_t last, int32_t mem = 800,
                 int32_t inUse = kUnknownMo) {
    return {minute, lo, hi, last, mem, inUse};
}

TEST(HistoryPlot, SpansEndWithTheCurrentMinuteAndTheWholeHistoryStartsAtItsFirstRecord) {
    std::vector<MinuteRecord> records{rec(kNow - 5000, 1, 1, 1), rec(kNow - 10, 1, 1, 1)};
    TimeSpan hour = visibleSpan(HistoryRange::Hour, records, kNow);
    EXPECT_EQ(hour.end, kNow + 1);
    EXPECT_EQ(hour.length(), 60);
    EXPECT_EQ(visibleSpan(HistoryRange::Month, records, kNow).length(), 30 * 1440);
    TimeSpan all = visibleSpan(HistoryRange::All, records, kNow);
    EXPECT_EQ(all.start, kNow - 5000);
    EXPECT_EQ(all.end, kNow + 1);
    // A short or empty history still spans an hour.
    EXPECT_EQ(visibleSpan(HistoryRange::All, {rec(kNow - 3, 1, 1, 1)}, kNow).length(), 60);
    EXPECT_EQ(visibleSpan(HistoryRange::All, {}, kNow).length(), 60);
}

TEST(HistoryPlot, ThirtyDaysFoldIntoTheirColumnsWithTheBandAndTheLastOfEach) {
    std::vector<MinuteRecord> month;
    for (int32_t m = kNow - 30 * 1440 + 1; m <= kNow; ++m) {
        int32_t size = 1000 + (m % 7) * 10;
        month.push_back(rec(m, size, size + 5, size, 700 + m % 3));
    }
    month.push_back(rec(kNow + 1, 9999, 9999, 9999));  // after now: not in the span
    TimeSpan span = visibleSpan(HistoryRange::Month, month, kNow);
    std::vector<HistoryColumn> columns = bucketByColumn(month, span, 720);  // an hour a column
    ASSERT_EQ(columns.size(), 720u);
    for (const HistoryColumn& c : columns) {
        ASSERT_TRUE(c.hasData);
        EXPECT_EQ(c.lastMinute - c.minute, 59);
        EXPECT_EQ(c.minMo, 1000);
        EXPECT_EQ(c.maxMo, 1065);
        EXPECT_EQ(c.lastMo, 1000 + (c.lastMinute % 7) * 10);
        // The memory is the column's largest, as the hours' file keeps it.
        EXPECT_EQ(c.memoryMo, 702);
    }
    EXPECT_EQ(columns.back().lastMinute, kNow);
}

TEST(HistoryPlot, AMinuteWiderThanAColumnFillsEachColumnItCoversAndAGapStaysEmpty) {
    TimeSpan span{kNow - 59, kNow + 1};  // an hour over 120 columns: two a minute
    std::vector<MinuteRecord> records{rec(kNow - 59, 5, 6, 6, 800, 40), rec(kNow - 58, 7, 7, 7),
                                      rec(kNow, 9, 9, 9)};
    std::vector<HistoryColumn> columns = bucketByColumn(records, span, 120);
    EXPECT_TRUE(columns[0].hasData && columns[1].hasData);
    EXPECT_EQ(columns[1].inUseMo, 40);
    EXPECT_EQ(columns[2].lastMo, 7);
    EXPECT_EQ(columns[2].inUseMo, kUnknownMo);
    EXPECT_TRUE(columns[3].hasData);
    for (int c = 4; c < 118; ++c) EXPECT_FALSE(columns[c].hasData) << c;
    EXPECT_EQ(columns[118].lastMo, 9);
    EXPECT_EQ(columns[119].lastMo, 9);
    EXPECT_EQ(columnMinute(span, 120, 118), kNow);
    // Uneven widths: every minute reaches at least one column.
    std::vector<HistoryColumn> odd = bucketByColumn(records, span, 97);
    EXPECT_TRUE(odd[0].hasData);
    EXPECT_TRUE(odd[96].hasData);
}

// A minute with the commit, its limit, the alerts and the programs named at it.
MinuteRecord committed(int32_t minute, int32_t commit, int32_t limit, uint8_t alerts = 0,
                       std::vector<ProgramMark> programs = {}) {
    MinuteRecord r = rec(minute, 1500, 1500, 1500);
    r.commitMo = commit;
    r.commitLimitMo = limit;
    r.alerts = alerts;
    r.programs = std::move(programs);
    return r;
}

TEST(HistoryPlot, AColumnKeepsTheLargestCommitEveryAlertAndTheProgramsOfItsLargestHolder) {
    const std::vector<ProgramMark> browser{{"chrome.exe", 1234, 812, 300},
                                           {"code.exe", 77, 400, 5}};
    const std::vector<ProgramMark> compiler{{"cc1plus.exe", 999, 1500, 1500}};
    const std::vector<ProgramMark> small{{"notepad.exe", 5, 20, 0}};
    const std::vector<ProgramMark> other{{"wordpad.exe", 6, 20, 0}};
    // An hour over 12 columns: five minutes a column.
    TimeSpan span{kNow - 59, kNow + 1};
    std::vector<MinuteRecord> records{
        committed(kNow - 59, 5000, 12000, kAlertSwapGrowth, browser),
        committed(kNow - 58, 6100, 11900, kAlertCommit, compiler),
        committed(kNow - 57, 5900, 12100, 0, small),  // smaller: the compiler stays named
        committed(kNow - 56, kUnknownMo, kUnknownMo, kAlertMemory),
        // A column of an old file's minutes, then one where only some minutes knew the commit.
        rec(kNow - 54, 1, 1, 1),
        rec(kNow - 53, 1, 1, 1),
        rec(kNow - 49, 1, 1, 1),
        committed(kNow - 48, 4000, kUnknownMo),
        committed(kNow - 4, 7000, 12000, 0, small),
        committed(kNow - 3, 7200, 12000, 0, other),
    };
    std::vector<HistoryColumn> columns = bucketByColumn(records, span, 12);
    const HistoryColumn& first = columns[0];
    EXPECT_EQ(first.commitMo, 6100);
    EXPECT_EQ(first.commitLimitMo, 12100);
    EXPECT_EQ(first.alerts, kAlertCommit | kAlertSwapGrowth | kAlertMemory);
    EXPECT_EQ(first.programs, compiler);

    EXPECT_TRUE(columns[1].hasData);
    EXPECT_EQ(columns[1].commitMo, kUnknownMo);
    EXPECT_EQ(columns[1].commitLimitMo, kUnknownMo);
    EXPECT_EQ(columns[1].alerts, 0);
    EXPECT_TRUE(columns[1].programs.empty());
    EXPECT_EQ(columns[2].commitMo, 4000);
    EXPECT_EQ(columns[2].commitLimitMo, kUnknownMo);
    EXPECT_FALSE(columns[3].hasData);
    EXPECT_EQ(columns[3].commitMo, kUnknownMo);
    // Equal holders: the first named keeps the column.
    EXPECT_EQ(columns[11].commitMo, 7200);
    EXPECT_EQ(columns[11].programs, small);
    EXPECT_EQ(columns[11].alerts, 0);

    // An hour record wider than a column carries its figures to every column it covers.
    MinuteRecord hour = committed(kNow - 119, 9000, 16000, kAlertCommit, browser);
    std::vector<HistoryColumn> wide(24);
    addByColumn(wide, {hour}, {kNow - 179, kNow + 1}, 60);
    for (int c = 0; c < 24; ++c) {
        bool covered = c >= 8 && c < 16;
        EXPECT_EQ(wide[c].hasData, covered) << c;
        EXPECT_EQ(wide[c].commitMo, covered ? 9000 : kUnknownMo) << c;
        EXPECT_EQ(wide[c].alerts, covered ? kAlertCommit : 0) << c;
        EXPECT_EQ(wide[c].programs.size(), covered ? 2u : 0u) << c;
    }
}

TEST(HistoryPlot, TheLeftScaleFollowsTheSwapFileAndTheRightOneTheMemoryAndCommit) {
    std::vector<HistoryColumn> columns = bucketByColumn(
        {rec(kNow - 1, 1536, 1540, 1538, 812, 120), rec(kNow, 1536, 1536, 1536, 900)},
        {kNow - 59, kNow + 1}, 60);
    ValueAxis axis = valueAxis(columns, {});
    EXPECT_LE(axis.low, 120);
    EXPECT_GE(axis.high, 1540);
    EXPECT_EQ(axis.step, 500);
    EXPECT_EQ(axis.low % axis.step, 0);
    EXPECT_EQ(axis.high % axis.step, 0);
    ValueAxis withAnalysis = valueAxis(columns, {true, 100, 4000, 1700});
    EXPECT_GE(withAnalysis.high, 4000);
    // Hidden, the part in use and the analysis no longer stretch the scale.
    ValueAxis bare = valueAxis(columns, {true, 100, 4000, 1700}, kSeriesInUse | kSeriesAnalysis);
    EXPECT_GE(bare.low, 1400);
    EXPECT_LE(bare.high, 1600);

    // A swap file of 64 to 128 Mo beside 2 500 Mo of commit: the left scale is the swap
    // file's alone, so that it fills the height; the commit and the memory go to the right.
    std::vector<MinuteRecord> small;
    for (int32_t m = 0; m < 60; ++m) {
        MinuteRecord r = committed(kNow - 59 + m, 2400 + m, 4000);
        int32_t swap = 64 + m * 64 / 59;
        r.minMo = r.maxMo = r.lastMo = swap;
        r.memoryMo = 1900;
        small.push_back(r);
    }
    std::vector<HistoryColumn> smallColumns = bucketByColumn(small, {kNow - 59, kNow + 1}, 60);
    ValueAxis swapAxis = valueAxis(smallColumns, {true, 64, 128, 96});
    EXPECT_GE(swapAxis.low, 40);
    EXPECT_LE(swapAxis.low, 64);
    EXPECT_GE(swapAxis.high, 128);
    EXPECT_LE(swapAxis.high, 160);
    std::optional<ValueAxis> right = sideAxis(smallColumns);
    ASSERT_TRUE(right);
    EXPECT_LE(right->low, 1900);
    EXPECT_GE(right->high, 2459);
    EXPECT_LT(right->high, 4000);  // the far limit is not taken in
    std::optional<ValueAxis> commitOnly = sideAxis(smallColumns, kSeriesMemory);
    ASSERT_TRUE(commitOnly);
    EXPECT_GE(commitOnly->low, 2000);
    EXPECT_FALSE(sideAxis(smallColumns, kSeriesMemory | kSeriesCommit | kSeriesLimit));

    // A limit the commit came near to is taken in; an unknown commit is not.
    std::optional<ValueAxis> near =
        sideAxis(bucketByColumn({committed(kNow - 1, 5200, 6000), committed(kNow, 5500, 6000)},
                                {kNow - 1, kNow + 1}, 2),
                 kSeriesMemory);
    ASSERT_TRUE(near);
    EXPECT_GE(near->high, 6000);
    std::optional<ValueAxis> unknownLimit = sideAxis(
        bucketByColumn({committed(kNow, kUnknownMo, 90000)}, {kNow, kNow + 1}, 1), kSeriesMemory);
    EXPECT_FALSE(unknownLimit);
    // A flat line gets room around it.
    ValueAxis flat =
        valueAxis(bucketByColumn({rec(kNow, 700, 700, 700, 700)}, {kNow, kNow + 1}, 1), {});
    EXPECT_LT(flat.low, 700);
    EXPECT_GT(flat.high, 700);
    EXPECT_GT(flat.step, 0);
}

TEST(HistoryPlot, AMarkFallsInItsColumnOverSpansOfYears) {
    // "Tout" over five years of hours: a mark's column is exact, not an overflow's.
    TimeSpan years{kNow - 5 * 525600 + 1, kNow + 1};
    EXPECT_EQ(minuteColumn(years, 1000, years.start), 0);
    EXPECT_EQ(minuteColumn(years, 1000, years.start + years.length() / 2), 500);
    EXPECT_EQ(minuteColumn(years, 1000, kNow), 999);
    EXPECT_EQ(minuteColumn(years, 1000, years.start - 1), -1);
    for (int index : {0, 1, 250, 999}) {
        EXPECT_EQ(minuteColumn(years, 1000, columnMinute(years, 1000, index)), index);
    }
}

TEST(HistoryPlot, AxisMarksFallOnRoundLocalTimesWithTheDateWhereTheDayChanges) {
    fake::FakeSystem system;  // local time is UTC + 1 h
    TimeSpan day{kNow - 1439, kNow + 1};
    std::vector<TimeTick> ticks = timeTicks(day, 800, 80, system);
    ASSERT_FALSE(ticks.empty());
    // 1440 minutes over 800 pixels with 80 pixels a mark: every 3 hours.
    EXPECT_EQ(ticks[1].minute - ticks[0].minute, 180);
    for (const TimeTick& t : ticks) {
        EXPECT_EQ((t.minute + 60) % 180, 0) << t.time;
        EXPECT_EQ(t.time.size(), 5u);
    }
    EXPECT_EQ(ticks[0].date, "07/12/2026");
    size_t midnight = 0;
    for (size_t i = 1; i < ticks.size(); ++i) {
        if (ticks[i].time == "00:00")
            midnight = i;
        else
            EXPECT_EQ(ticks[i].date, "") << ticks[i].time;
    }
    ASSERT_GT(midnight, 0u);
    EXPECT_EQ(ticks[midnight].date, "08/12/2026");

    std::vector<TimeTick> month = timeTicks({kNow - 30 * 1440 + 1, kNow + 1}, 800, 80, system);
    ASSERT_GE(month.size(), 2u);
    EXPECT_EQ(month[1].minute - month[0].minute, 7 * 1440);
    EXPECT_EQ(month[0].time, "");
    EXPECT_FALSE(month[0].date.empty());
}

TEST(HistoryPlot, ThePointerReadsTheValuesInFrenchInLocalTime) {
    fake::FakeSystem system;
    HistoryColumn one{{kNow, 1536, 1540, 1538, 812, 120}, true, kNow};
    EXPECT_EQ(hoverText(one, kNow, system),
              "Le 08/12/2026 à 07:15 : SWAP 1538 Mo (de 1536 à 1540 Mo), RAM utilisée 812 Mo, "
              "SWAP utilisé 120 Mo");
    HistoryColumn flat{{kNow - 43, 1536, 1536, 1536, 812, kUnknownMo}, true, kNow};
    EXPECT_EQ(hoverText(flat, kNow, system),
              "Le 08/12/2026 de 06:32 à 07:15 : SWAP 1536 Mo, RAM utilisée 812 Mo");
    HistoryColumn overnight{{kNow - 480, 1, 2, 2, 3, kUnknownMo}, true, kNow};
    EXPECT_EQ(
        hoverText(overnight, kNow, system),
        "Du 07/12/2026 23:15 au 08/12/2026 07:15 : SWAP 2 Mo (de 1 à 2 Mo), RAM utilisée 3 Mo");
    EXPECT_EQ(hoverText(HistoryColumn{}, kNow - 1, system),
              "Le 08/12/2026 à 07:14 : aucune mesure");
}

TEST(HistoryPlot, ThePointerReadsTheCommitTheAlertsAndTheProgramsNamedAtThatMinute) {
    fake::FakeSystem system;
    HistoryColumn c{{kNow, 1536, 1536, 1536, 812, kUnknownMo}, true, kNow};
    c.commitMo = 5120;
    c.commitLimitMo = 12288;
    EXPECT_EQ(hoverText(c, kNow, system),
              "Le 08/12/2026 à 07:15 : SWAP 1536 Mo, RAM utilisée 812 Mo, engagement 5120 / "
              "12288 Mo");
    c.commitLimitMo = kUnknownMo;
    EXPECT_EQ(hoverText(c, kNow, system),
              "Le 08/12/2026 à 07:15 : SWAP 1536 Mo, RAM utilisée 812 Mo, engagement 5120 Mo");

    c.commitLimitMo = 12288;
    c.alerts = kAlertSwapGrowth;
    c.programs = {{"chrome.exe", 1234, 812, 300},
                  {"Éditeur.exe", 56, 640, -12},
                  {"svchost.exe", 912, 200, 0}};
    EXPECT_EQ(hoverText(c, kNow, system),
              "Le 08/12/2026 à 07:15 : SWAP 1536 Mo, RAM utilisée 812 Mo, engagement 5120 / "
              "12288 Mo\r\n"
              "Alerte : fichier SWAP agrandi\r\n"
              "Programmes qui engagent le plus : chrome.exe (PID 1234) 812 Mo, +300 Mo sur "
              "l'heure ; Éditeur.exe (PID 56) 640 Mo, -12 Mo sur l'heure ; svchost.exe (PID 912) "
              "200 Mo, 0 Mo sur l'heure");

    // An old Windows: no commit, but the alerts it can raise and no program.
    HistoryColumn old{{kNow, 70, 90, 90, 30, kUnknownMo}, true, kNow};
    old.alerts = kAlertMemory | kAlertSwapGrowth | kAlertCommit;
    EXPECT_EQ(
        hoverText(old, kNow, system),
        "Le 08/12/2026 à 07:15 : SWAP 90 Mo (de 70 à 90 Mo), RAM utilisée 30 Mo\r\n"
        "Alertes : seuil d'engagement atteint, fichier SWAP agrandi, seuil de mémoire atteint");
}

TEST(HistoryPlot, TheAnalysisLinesAndTheLayoutOfAWholePicture) {
    EXPECT_TRUE(analysisLines({}).empty());
    std::vector<AnalysisLine> lines = analysisLines({true, 1536, 1540, 1538});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].label, "Maxi : 1540 Mo");
    EXPECT_EQ(lines[1].label, "Moy : 1538 Mo");
    EXPECT_EQ(lines[2].label, "Mini : 1536 Mo");
    EXPECT_EQ(lines[2].valueMo, 1536);

    fake::FakeSystem system;
    HistoryPicture empty = layoutHistory({}, {}, HistoryRange::Day, kNow, 600, 80, system);
    EXPECT_FALSE(empty.anyData);
    EXPECT_EQ(empty.columns.size(), 600u);
    HistoryPicture some = layoutHistory({rec(kNow - 2000, 1, 1, 1), rec(kNow - 30, 1, 1, 1)}, {},
                                        HistoryRange::Hour, kNow, 600, 80, system);
    EXPECT_TRUE(some.anyData);
    EXPECT_FALSE(some.ticks.empty());
}

}  // namespace
}  // namespace corvane
