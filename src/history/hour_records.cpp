// Folding minutes into hours, and joining two lists of hours.
#include "history/hour_records.h"

#include <algorithm>

namespace corvane {

namespace {

void widen(MinuteRecord& hour, const MinuteRecord& r) {
    hour.minMo = std::min(hour.minMo, r.minMo);
    hour.maxMo = std::max(hour.maxMo, r.maxMo);
    hour.memoryMo = std::max(hour.memoryMo, r.memoryMo);
    // kUnknownMo is below every value: an hour knows the part in use if any minute did.
    hour.inUseMo = std::max(hour.inUseMo, r.inUseMo);
    hour.commitMo = std::max(hour.commitMo, r.commitMo);
    hour.commitLimitMo = std::max(hour.commitLimitMo, r.commitLimitMo);
    hour.alerts |= r.alerts;
    keepBusierPrograms(hour.programs, r.programs);
}

}  // namespace

void keepBusierPrograms(std::vector<ProgramMark>& kept, const std::vector<ProgramMark>& other) {
    // At most three names, and only at the few minutes worth naming them: the copy is rare.
    if (!other.empty() && (kept.empty() || other.front().commitMo > kept.front().commitMo)) {
        kept = other;
    }
}

std::vector<MinuteRecord> hoursOf(const std::vector<MinuteRecord>& minutes) {
    std::vector<MinuteRecord> hours;
    for (const MinuteRecord& r : minutes) {
        int32_t hour = hourOf(r.minute);
        if (hours.empty() || hours.back().minute != hour) {
            hours.push_back(r);
            hours.back().minute = hour;
            continue;
        }
        widen(hours.back(), r);
        hours.back().lastMo = r.lastMo;
    }
    return hours;
}

std::vector<MinuteRecord> mergeHours(const std::vector<MinuteRecord>& a,
                                     const std::vector<MinuteRecord>& b) {
    std::vector<MinuteRecord> merged;
    merged.reserve(a.size() + b.size());
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i].minute < b[j].minute)) {
            merged.push_back(a[i++]);
        } else if (i == a.size() || b[j].minute < a[i].minute) {
            merged.push_back(b[j++]);
        } else {
            MinuteRecord hour = a[i++];
            widen(hour, b[j]);
            hour.lastMo = b[j++].lastMo;
            merged.push_back(hour);
        }
    }
    return merged;
}

}  // namespace corvane
