// When an alert is due: a threshold crossed upwards, said once, and said again only after the
// figure has gone back below the threshold by a margin, so that a figure hovering around it
// does not raise an alert at every tick. The swap file's growth is counted over the last hour.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/alert_settings.h"

namespace corvane {

enum class AlertKind { Commit, SwapGrowth, Memory, Exhaustion };

// How long the forecast must stay under its threshold before its alert is raised: a burst of a
// few minutes makes a steep trend that says nothing of the hours ahead.
inline constexpr int64_t kExhaustionHeldMinutes = 30;

// One alert raised: what crossed its threshold, by how much, and the threshold.
struct AlertEvent {
    AlertKind kind = AlertKind::Commit;
    int64_t figure = 0;     // percent, Mo grown within the hour, or minutes left
    int32_t threshold = 0;  // in the same unit; hours for the exhaustion
    int32_t swapMo = 0;     // the swap file's size when it was raised
};

// How far below its threshold a figure must go before the same alert may come again: five
// points of a share, a tenth of a growth (at least 1 Mo).
int32_t rearmMargin(AlertKind kind, int32_t threshold);

// One threshold's state: armed until the figure reaches it, then quiet until the figure has
// gone back below it by the margin.
class ThresholdCrossing {
public:
    // True when `figure` reaches `threshold` while armed.
    bool crossedUpwards(int64_t figure, int32_t threshold, int32_t margin);
    // The alert is switched off: it will speak again as soon as it is switched on and due.
    void rearm() { armed_ = true; }
    bool armed() const { return armed_; }

private:
    bool armed_ = true;
};

// How much the swap file has grown within the last hour: its size now against its smallest
// since, kept minute by minute (so at most sixty numbers, whatever the refresh period).
class HourGrowth {
public:
    static constexpr uint64_t kMinuteMs = 60000;
    static constexpr size_t kMinutes = 60;

    // Takes the size at `tick` and returns what it has grown since the smallest size of this
    // minute and the 59 before it (0 when it is the smallest).
    int32_t add(uint64_t tick, int32_t mo);
    // The smallest size of the minute `minutesAgo` (1 to 59) before the one of `tick`, as the
    // history kept it before this run: the hour's measure goes on across a restart.
    void addPast(uint64_t tick, int32_t minutesAgo, int32_t lowestMo);

private:
    struct Minute {
        bool seen = false;
        uint64_t index = 0;
        int32_t lowestMo = 0;
    };
    std::array<Minute, kMinutes> minutes_{};
};

// What one tick read: each figure is absent where this Windows or this tick has none.
struct AlertFigures {
    uint64_t tick = 0;
    std::optional<int> commitPercent;
    std::optional<int32_t> swapMo;
    std::optional<int> memoryPercent;
    // Minutes until the commit reaches the limit it can attain at the trend's pace; beyond the
    // forecast's week when it does not rise; absent when there is no trend or no such limit.
    std::optional<int64_t> exhaustionMinutes;
    // Minutes the forecast had already stayed under the threshold before this tick, as the
    // history's minutes show it; read only where a half hour would begin (see
    // startsExhaustionHold): the half hour goes on across a restart.
    int64_t exhaustionHeldBefore = 0;
};

class AlertWatch {
public:
    // The alerts the figures raise now, in the order commit, swap file, memory.
    std::vector<AlertEvent> check(const AlertSettings& settings, const AlertFigures& figures);
    // Raised, and not yet gone back below its threshold by the margin (nor switched off).
    bool raised(AlertKind kind) const { return !crossing(kind).armed(); }
    // How many times it was raised since the program started.
    int64_t count(AlertKind kind) const { return counts_[static_cast<size_t>(kind)]; }
    // True when `exhaustionMinutes` would begin the exhaustion's half hour at this tick: the
    // only time the minutes before it are asked for.
    bool startsExhaustionHold(const AlertSettings& settings,
                              std::optional<int64_t> exhaustionMinutes) const;
    // Whether the swap file's hour still waits for the minutes that came before this run.
    bool wantsPast() const { return !pastTaken_; }
    // Those minutes, once: `lowestMo` of each minute `minutesAgo` before the one of `tick`.
    void takePast(uint64_t tick, const std::vector<std::pair<int32_t, int32_t>>& minutesAgoMo);

private:
    const ThresholdCrossing& crossing(AlertKind kind) const;
    std::array<int64_t, 4> counts_{};

    ThresholdCrossing commit_;
    ThresholdCrossing swapGrowth_;
    ThresholdCrossing memory_;
    ThresholdCrossing exhaustion_;
    std::optional<uint64_t> exhaustionSince_;  // the tick the forecast went under its threshold
    HourGrowth hour_;
    bool pastTaken_ = false;
};

}  // namespace corvane
