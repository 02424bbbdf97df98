// Where the commit charge is heading: the least-squares trend of the last three hours of
// minutes, and how long until it meets a limit at that pace.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/minute_record.h"

namespace corvane {

inline constexpr int32_t kForecastMinutes = 180;
inline constexpr size_t kForecastLeastRecords = 30;
// Beyond a week a forecast says only that: the trend of three hours says nothing so far ahead.
inline constexpr int64_t kForecastHorizonSeconds = 7 * 24 * 3600;

struct CommitTrend {
    double bytesPerSecond = 0;  // may be below zero
    double fittedNowBytes = 0;  // the trend's commit at the present minute
    size_t records = 0;
    // The trend rises by at least a Mo an hour: slower is no rise a forecast can stand on.
    bool rising() const { return bytesPerSecond * 3600 >= 1048576.0; }
};

// The trend of the minutes whose commit is known in the 180 minutes up to `nowMinute`; minutes
// after it (a clock set back) are left out. Nothing under 30 such minutes.
std::optional<CommitTrend> commitTrend(const std::vector<MinuteRecord>& minutes, int32_t nowMinute);

// Seconds until `commitBytes` reaches `limitBytes` at the trend's pace: nothing when it does
// not rise; 0 when it is there already.
std::optional<int64_t> secondsToLimit(const CommitTrend& trend, uint64_t commitBytes,
                                      uint64_t limitBytes);

// The trend and the time it leaves before each limit.
struct CommitForecast {
    std::optional<CommitTrend> trend;
    std::optional<int64_t> toLimitSeconds;       // today's commit limit
    std::optional<int64_t> toAttainableSeconds;  // the limit the page files can still reach
};

// `commitBytes`: the commit now, where Windows says it; else the trend's own figure.
CommitForecast forecastCommit(const std::vector<MinuteRecord>& minutes, int32_t nowMinute,
                              std::optional<uint64_t> commitBytes,
                              std::optional<uint64_t> limitBytes,
                              std::optional<uint64_t> attainableBytes);

// How long before `nowMinute` the recorded minutes had the forecast under `thresholdMinutes`
// before `attainableBytes`, each minute's own commit set against the trend up to it: the minutes
// from the oldest of an unbroken run of such records to `nowMinute`, at most `upTo`. A gap of
// more than two minutes (the program was not running) or a minute with no such forecast ends
// the run, so that a hold carries across a restart but never across time nothing was recorded.
int32_t minutesUnderThreshold(const std::vector<MinuteRecord>& minutes, int32_t nowMinute,
                              uint64_t attainableBytes, int64_t thresholdMinutes, int32_t upTo);

// "dans 5 h 10", "plus de 7 jours".
std::string timeLeftText(int64_t seconds);
// "+120 Mo/h", "-35 Mo/h".
std::string trendText(const CommitTrend& trend);

}  // namespace corvane
