// The commit charge's trend over the recent minutes and the time it leaves.
#include "memory/commit_forecast.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane {

namespace {
constexpr double kMo = 1048576.0;
}

std::optional<CommitTrend> commitTrend(const std::vector<MinuteRecord>& minutes,
                                       int32_t nowMinute) {
    // Sums around the present minute keep the figures small, so the fit stays exact in doubles.
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (auto it = minutes.rbegin(); it != minutes.rend(); ++it) {
        if (it->minute > nowMinute) continue;
        if (it->minute <= nowMinute - kForecastMinutes) break;
        if (it->commitMo < 0) continue;
        double x = it->minute - nowMinute, y = it->commitMo;
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    if (n < static_cast<double>(kForecastLeastRecords)) return std::nullopt;
    double spread = n * sxx - sx * sx;
    if (spread <= 0) return std::nullopt;
    double slope = (n * sxy - sx * sy) / spread;  // Mo a minute
    double intercept = (sy - slope * sx) / n;
    CommitTrend trend;
    trend.bytesPerSecond = slope * kMo / 60;
    trend.fittedNowBytes = intercept * kMo;
    trend.records = static_cast<size_t>(n);
    return trend;
}

std::optional<int64_t> secondsToLimit(const CommitTrend& trend, uint64_t commitBytes,
                                      uint64_t limitBytes) {
    if (!trend.rising()) return std::nullopt;
    if (commitBytes >= limitBytes) return 0;
    double seconds = static_cast<double>(limitBytes - commitBytes) / trend.bytesPerSecond;
    if (seconds > static_cast<double>(kForecastHorizonSeconds)) return kForecastHorizonSeconds + 1;
    return static_cast<int64_t>(seconds);
}

CommitForecast forecastCommit(const std::vector<MinuteRecord>& minutes, int32_t nowMinute,
                              std::optional<uint64_t> commitBytes,
                              std::optional<uint64_t> limitBytes,
                              std::optional<uint64_t> attainableBytes) {
    CommitForecast forecast;
    forecast.trend = commitTrend(minutes, nowMinute);
    if (!forecast.trend) return forecast;
    uint64_t now = commitBytes
                       ? *commitBytes
                       : static_cast<uint64_t>(std::max(0.0, forecast.trend->fittedNowBytes));
    if (limitBytes) forecast.toLimitSeconds = secondsToLimit(*forecast.trend, now, *limitBytes);
    if (attainableBytes)
        forecast.toAttainableSeconds = secondsToLimit(*forecast.trend, now, *attainableBytes);
    return forecast;
}

int32_t minutesUnderThreshold(const std::vector<MinuteRecord>& minutes, int32_t nowMinute,
                              uint64_t attainableBytes, int64_t thresholdMinutes, int32_t upTo) {
    constexpr int32_t kLongestGap = 2;
    int32_t held = 0;
    int32_t after = nowMinute;  // the minute the run reaches back from
    for (auto it = minutes.rbegin(); it != minutes.rend(); ++it) {
        if (it->minute >= nowMinute) continue;
        if (after - it->minute > kLongestGap || it->commitMo < 0) break;
        std::optional<CommitTrend> trend = commitTrend(minutes, it->minute);
        if (!trend) break;
        std::optional<int64_t> seconds =
            secondsToLimit(*trend, static_cast<uint64_t>(it->commitMo) * static_cast<uint64_t>(kMo),
                           attainableBytes);
        if (!seconds || *seconds / 60 >= thresholdMinutes) break;
        held = nowMinute - it->minute;
        if (held >= upTo) return upTo;
        after = it->minute;
    }
    return held;
}

std::string timeLeftText(int64_t seconds) {
    if (seconds > kForecastHorizonSeconds) return "plus de 7 jours";
    int64_t minutes = seconds / 60;
    char text[48];
    std::snprintf(text, sizeof text, "dans %lld h %02lld", static_cast<long long>(minutes / 60),
                  static_cast<long long>(minutes % 60));
    return text;
}

std::string trendText(const CommitTrend& trend) {
    long long perHour = std::llround(trend.bytesPerSecond * 3600 / kMo);
    return (perHour > 0 ? "+" : "") + std::to_string(perHour) + " Mo/h";
}

}  // namespace corvane
