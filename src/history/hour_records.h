// The coarser detail of the history: minutes folded into hours, for the time beyond the minutes
// kept.
#pragma once

#include <cstdint>
#include <vector>

#include "history/minute_record.h"

namespace corvane {

inline constexpr int32_t kMinutesPerHour = 60;

// The first minute of the hour that holds `minute`.
inline int32_t hourOf(int32_t minute) {
    return minute - minute % kMinutesPerHour;
}

// Folds `later` into `span`, which already holds the minutes (or hours) before it: an hour of
// the hours' file, a column of the graph. The one rule of both, so that an hour drawn from the
// file and the same hour drawn from its minutes look alike:
// - the swap file's smallest and largest sizes are the span's smallest and largest, its size
//   the last (`later`'s), as the line drawn through time ends;
// - the memory in use, the swap in use, the commit and its limit are the largest: what sizing
//   the swap file cares about is the most that was asked of it, which the last of a span may
//   hide (the hours' file says so: "maxi");
// - unknown (kUnknownMo) is below every figure: the span knows a figure if any minute did;
// - the alerts are all of them, the programs those of the busiest minute.
void addToSpan(MinuteRecord& span, const MinuteRecord& later);

// A span of minutes (an hour, a column of the graph) names the programs of its minute whose
// largest program held the most: `kept` becomes `other` when that is the busier of the two.
void keepBusierPrograms(std::vector<ProgramMark>& kept, const std::vector<ProgramMark>& other);

// One record per hour of `minutes` (oldest first): the hour's first minute, its smallest,
// largest and last swap size, its largest memory, swap in use, commit and commit limit, the
// alerts of all its minutes, and the programs its busiest minute named.
std::vector<MinuteRecord> hoursOf(const std::vector<MinuteRecord>& minutes);

// Both lists of hours (each oldest first) in one; an hour in both takes the widest of each.
std::vector<MinuteRecord> mergeHours(const std::vector<MinuteRecord>& a,
                                     const std::vector<MinuteRecord>& b);

}  // namespace corvane
