// The commit's forecast from a recorded series: rising, flat, falling, with gaps, unknown
// commits, minutes from the future, and too few records to say anything.
#include "memory/commit_forecast.h"

#include <gtest/gtest.h>

#include "memory/advice_report.h"

namespace corvane {
namespace {

constexpr uint64_t kMiB = 1048576;
constexpr int32_t kNow = 29000000;

// One record every `step` minutes over the 180 before now, the commit at `start` Mo three hours
// ago moving by `perMinute` Mo a minute.
std::vector<MinuteRecord> series(double start, double perMinute, int step = 1) {
    std::vector<MinuteRecord> minutes;
    for (int32_t m = kNow - 179; m <= kNow; m += step) {
        MinuteRecord r;
        r.minute = m;
        r.commitMo = static_cast<int32_t>(start + perMinute * (m - (kNow - 180)));
        minutes.push_back(r);
    }
    return minutes;
}

TEST(CommitForecast, TimeLeftFromARecordedSeries) {
    struct Case {
        const char* name;
        std::vector<MinuteRecord> minutes;
        std::optional<double> moPerHour;  // nothing: no trend
        bool rising;
        std::string toLimit;       // the commit at 1000 Mo now, today's limit 1300 Mo
        std::string toAttainable;  // the attainable limit 30000 Mo
    };
    std::vector<MinuteRecord> gaps = series(640, 2, 5);  // 36 records
    std::vector<MinuteRecord> few = series(640, 2);
    few.erase(few.begin(), few.end() - 29);
    std::vector<MinuteRecord> unknown = series(640, 2);
    for (size_t i = 0; i < unknown.size(); ++i)
        if (i % 7 != 0) unknown[i].commitMo = kUnknownMo;  // 26 known
    std::vector<MinuteRecord> future = series(640, 2);
    MinuteRecord ahead;
    ahead.minute = kNow + 600;  // the clock was set back since
    ahead.commitMo = 900000;
    future.push_back(ahead);
    std::vector<MinuteRecord> old = series(640, 2);
    MinuteRecord before;
    before.minute = kNow - 400;  // beyond the three hours
    before.commitMo = 900000;
    old.insert(old.begin(), before);
    const Case cases[] = {
        // 2 Mo a minute: 300 Mo in 2 h 30; 29000 Mo in 241 h 40, more than a week.
        {"rising", series(640, 2), 120, true, "dans 2 h 30", "plus de 7 jours"},
        {"rising, one record in five", gaps, 120, true, "dans 2 h 30", "plus de 7 jours"},
        {"records out of the span or the future left out", future, 120, true, "dans 2 h 30", ""},
        {"records before the span left out", old, 120, true, "dans 2 h 30", ""},
        {"flat", series(1000, 0), 0, false, "stable", "stable"},
        {"falling", series(1360, -2), -120, false, "stable", "stable"},
        {"too few records", few, std::nullopt, false, "inconnu", "inconnu"},
        {"too few known commits", unknown, std::nullopt, false, "inconnu", "inconnu"},
        {"empty history", {}, std::nullopt, false, "inconnu", "inconnu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommitForecast f = forecastCommit(c.minutes, kNow, 1000 * kMiB, 1300 * kMiB, 30000 * kMiB);
        ASSERT_EQ(f.trend.has_value(), c.moPerHour.has_value());
        if (!f.trend) {
            EXPECT_EQ(timeLeftFigure(f, f.toLimitSeconds), "inconnu");
            continue;
        }
        EXPECT_NEAR(f.trend->bytesPerSecond * 3600 / kMiB, *c.moPerHour, 0.5);
        EXPECT_EQ(f.trend->rising(), c.rising);
        EXPECT_EQ(timeLeftFigure(f, f.toLimitSeconds), c.toLimit);
        if (!c.toAttainable.empty()) {
            EXPECT_EQ(timeLeftFigure(f, f.toAttainableSeconds), c.toAttainable);
        }
        if (!c.rising) {
            EXPECT_FALSE(f.toAttainableSeconds);
        }
    }
}

TEST(CommitForecast, WithoutTheCommitNowTheTrendsOwnFigureCountsAndAPassedLimitIsNow) {
    CommitForecast f = forecastCommit(series(640, 2), kNow, std::nullopt, 1300 * kMiB, 900 * kMiB);
    ASSERT_TRUE(f.trend);
    // The fitted commit now is 640 + 2 x 180 = 1000 Mo.
    EXPECT_NEAR(f.trend->fittedNowBytes / kMiB, 1000, 1);
    EXPECT_EQ(timeLeftFigure(f, f.toLimitSeconds), "dans 2 h 30");
    EXPECT_EQ(f.toAttainableSeconds, 0);
    EXPECT_EQ(timeLeftText(5 * 3600 + 10 * 60 + 59), "dans 5 h 10");
    EXPECT_EQ(timeLeftText(7 * 24 * 3600 + 1), "plus de 7 jours");
    EXPECT_EQ(trendText(*f.trend), "+120 Mo/h");
}

// The forecast's half hour read back from the recorded minutes: 2 Mo a minute up to 998 Mo a
// minute ago leaves each minute k minutes back 150 + k minutes before 1300 Mo.
TEST(CommitForecast, TheMinutesUnderTheThresholdAreCountedBackFromTheRecords) {
    auto without = [](std::vector<MinuteRecord> minutes, std::vector<int32_t> ago) {
        for (int32_t a : ago)
            std::erase_if(minutes, [&](const MinuteRecord& r) { return r.minute == kNow - a; });
        return minutes;
    };
    std::vector<MinuteRecord> unknown = series(640, 2);
    for (MinuteRecord& r : unknown)
        if (r.minute == kNow - 5) r.commitMo = kUnknownMo;
    struct Case {
        const char* name;
        std::vector<MinuteRecord> minutes;
        int64_t thresholdMinutes;
        int32_t held;
    };
    const Case cases[] = {
        {"under all along: the half hour, no more", series(640, 2), 360, 30},
        {"under for the last 10 minutes", series(640, 2), 161, 10},
        {"one minute missing: a restart", without(series(640, 2), {4}), 360, 30},
        {"two minutes missing: not running", without(series(640, 2), {3, 4}), 360, 2},
        {"nothing in the last 3 minutes", without(series(640, 2), {1, 2}), 360, 0},
        {"a commit unknown 5 minutes ago", unknown, 360, 4},
        {"flat: no rise", series(1000, 0), 360, 0},
        {"empty history", {}, 360, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(minutesUnderThreshold(c.minutes, kNow, 1300 * kMiB, c.thresholdMinutes, 30),
                  c.held);
    }
}

}  // namespace
}  // namespace corvane
