// Threshold crossings with their margin, and the swap file's growth over the hour.
#include "alerts/alert_watch.h"

#include <algorithm>

namespace corvane {

namespace {
bool exhaustionUnder(const AlertSettings& s, int64_t minutesLeft) {
    return minutesLeft < static_cast<int64_t>(s.exhaustionHours) * 60;
}
}  // namespace

int32_t rearmMargin(AlertKind kind, int32_t threshold) {
    if (kind == AlertKind::SwapGrowth) return std::max<int32_t>(1, threshold / 10);
    return 5;
}

bool ThresholdCrossing::crossedUpwards(int64_t figure, int32_t threshold, int32_t margin) {
    if (armed_) {
        if (figure < threshold) return false;
        armed_ = false;
        return true;
    }
    if (figure <= static_cast<int64_t>(threshold) - margin) armed_ = true;
    return false;
}

int32_t HourGrowth::add(uint64_t tick, int32_t mo) {
    uint64_t index = tick / kMinuteMs;
    Minute& minute = minutes_[static_cast<size_t>(index % kMinutes)];
    if (!minute.seen || minute.index != index) {
        minute = {true, index, mo};
    } else {
        minute.lowestMo = std::min(minute.lowestMo, mo);
    }
    int32_t lowest = mo;
    for (const Minute& m : minutes_) {
        if (m.seen && m.index <= index && index - m.index < kMinutes) {
            lowest = std::min(lowest, m.lowestMo);
        }
    }
    return mo - lowest;
}

void HourGrowth::addPast(uint64_t tick, int32_t minutesAgo, int32_t lowestMo) {
    uint64_t now = tick / kMinuteMs;
    // Minutes before the system started (a tick count that small) are another boot's file.
    if (minutesAgo < 1 || static_cast<size_t>(minutesAgo) >= kMinutes ||
        now < static_cast<uint64_t>(minutesAgo))
        return;
    uint64_t index = now - static_cast<uint64_t>(minutesAgo);
    Minute& minute = minutes_[static_cast<size_t>(index % kMinutes)];
    if (!minute.seen || minute.index != index) {
        minute = {true, index, lowestMo};
    } else {
        minute.lowestMo = std::min(minute.lowestMo, lowestMo);
    }
}

void AlertWatch::takePast(uint64_t tick,
                          const std::vector<std::pair<int32_t, int32_t>>& minutesAgoMo) {
    pastTaken_ = true;
    for (const auto& [minutesAgo, mo] : minutesAgoMo) hour_.addPast(tick, minutesAgo, mo);
}

bool AlertWatch::startsExhaustionHold(const AlertSettings& s,
                                      std::optional<int64_t> exhaustionMinutes) const {
    return s.exhaustionOn && exhaustionMinutes && exhaustionUnder(s, *exhaustionMinutes) &&
           !exhaustionSince_;
}

const ThresholdCrossing& AlertWatch::crossing(AlertKind kind) const {
    switch (kind) {
        case AlertKind::SwapGrowth: return swapGrowth_;
        case AlertKind::Memory: return memory_;
        case AlertKind::Exhaustion: return exhaustion_;
        case AlertKind::Commit: break;
    }
    return commit_;
}

std::vector<AlertEvent> AlertWatch::check(const AlertSettings& s, const AlertFigures& f) {
    std::vector<AlertEvent> raised;
    int32_t swapMo = f.swapMo.value_or(0);
    auto follow = [&](ThresholdCrossing& crossing, AlertKind kind, bool on,
                      std::optional<int64_t> figure, int32_t threshold) {
        if (!on) {
            crossing.rearm();
            return;
        }
        // A figure this tick could not read leaves the alert as it was.
        if (!figure) return;
        if (crossing.crossedUpwards(*figure, threshold, rearmMargin(kind, threshold))) {
            raised.push_back({kind, *figure, threshold, swapMo});
            ++counts_[static_cast<size_t>(kind)];
        }
    };
    follow(commit_, AlertKind::Commit, s.commitOn, f.commitPercent, s.commitPercent);
    // The growth is followed whether its alert is on or not, so that switching it on sees the
    // hour that has passed.
    std::optional<int64_t> growth;
    if (f.swapMo) growth = hour_.add(f.tick, *f.swapMo);
    follow(swapGrowth_, AlertKind::SwapGrowth, s.swapGrowthOn, growth, s.swapGrowthMo);
    follow(memory_, AlertKind::Memory, s.memoryOn, f.memoryPercent, s.memoryPercent);
    // The exhaustion: raised once the time left has stayed under the threshold for half an
    // hour, and again only after it has been back above it.
    if (!s.exhaustionOn) {
        exhaustion_.rearm();
        exhaustionSince_.reset();
    } else if (f.exhaustionMinutes) {
        bool under = exhaustionUnder(s, *f.exhaustionMinutes);
        if (!under) {
            exhaustionSince_.reset();
        } else if (!exhaustionSince_ || f.tick < *exhaustionSince_) {
            uint64_t before = static_cast<uint64_t>(std::max<int64_t>(0, f.exhaustionHeldBefore)) *
                              HourGrowth::kMinuteMs;
            exhaustionSince_ = f.tick - std::min(f.tick, before);
        }
        int64_t held =
            under ? static_cast<int64_t>((f.tick - *exhaustionSince_) / HourGrowth::kMinuteMs) : -1;
        if (exhaustion_.crossedUpwards(held, kExhaustionHeldMinutes, kExhaustionHeldMinutes + 1)) {
            raised.push_back(
                {AlertKind::Exhaustion, *f.exhaustionMinutes, s.exhaustionHours, swapMo});
            ++counts_[static_cast<size_t>(AlertKind::Exhaustion)];
        }
    }
    return raised;
}

}  // namespace corvane
