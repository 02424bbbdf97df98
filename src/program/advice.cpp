// Gathering the page file's advice over the platform, at the tick's pace.
#include "program/advice.h"

#include <algorithm>
#include <cctype>

#include "history/utc_minutes.h"
#include "memory/memory_figures.h"
#include "probes/page_file_config.h"
#include "program/window_opening.h"
#include "stats/labels.h"

namespace corvane {

namespace {

constexpr uint32_t kNt = 2;  // VER_PLATFORM_WIN32_NT

bool windows9x(const Context& c) {
    return c.state.versionRecord.platformId != kNt;
}

// The RAM as the main window counts it. The old status call caps it at 2 or 4 Go: a figure
// at the cap may be far below the truth, so it is no figure.
std::optional<int64_t> ramMo(const MemoryStatus& memory) {
    if (memory.totalPhys == 0) return std::nullopt;
    if (!memory.commitKnown && memory.totalPhys >= 0x7FFF0000ULL) return std::nullopt;
    return totalPhysicalMo(memory);
}

void readConfiguration(Context& c, const MemoryStatus& memory, std::optional<int32_t> now) {
    AdviceWatch& watch = c.state.advice;
    Platform& p = c.platform;
    watch.configurationTick = p.system.tickCount();
    if (windows9x(c)) {
        watch.paging = {true, {}};
        watch.dump = {DumpKind::None, false, std::nullopt};
        watch.attainableBytes.reset();
        return;
    }
    std::string windowsDirectory =
        c.state.windowsDirectory.empty() ? p.system.windowsDirectory() : c.state.windowsDirectory;
    watch.dump = readCrashDump(p, now);
    watch.paging = readPagingConfiguration(p, windowsDirectory);
    watch.attainableBytes = attainableLimitBytes(watch.paging, ramMo(memory));
}

void forecast(Context& c, const MemoryStatus& memory, int32_t now) {
    AdviceWatch& watch = c.state.advice;
    std::optional<CommitCharge> commit = statusCommit(memory);
    watch.forecast = forecastCommit(
        c.state.history.records(), now, commit ? std::optional(commit->usedBytes) : std::nullopt,
        commit ? std::optional(commit->limitBytes) : std::nullopt, watch.attainableBytes);
}

}  // namespace

AdviceInputs gatherAdviceInputs(Context& c, const MemoryStatus& memory, int32_t now) {
    MainState& s = c.state;
    AdviceInputs in;
    in.windows9x = windows9x(c);
    in.ramMo = ramMo(memory);
    const int32_t from = now - static_cast<int32_t>(kPeakDays) * 1440;
    s.history.load(c.platform.files, from);
    std::optional<int32_t> peak, oldest;
    // Both lists run oldest first: what lies before the 30 days is skipped, not read, and a
    // minute from the future (a clock that was ahead) ends them, no figure of these 30 days.
    // The hours come before the minutes, so the first figure met is the oldest.
    int32_t MinuteRecord::*field = in.windows9x ? &MinuteRecord::maxMo : &MinuteRecord::commitMo;
    for (const std::vector<MinuteRecord>* records : {&s.history.hours(), &s.history.records()}) {
        auto r = std::lower_bound(
            records->begin(), records->end(), from,
            [](const MinuteRecord& record, int32_t minute) { return record.minute < minute; });
        int32_t largest = kUnknownMo;
        for (; r != records->end() && r->minute <= now; ++r) {
            largest = std::max(largest, (*r).*field);
            if (!oldest && largest >= 0) oldest = r->minute;
        }
        if (largest >= 0) peak = std::max(peak.value_or(largest), largest);
    }
    if (oldest) in.daysOfFigures = (now - *oldest) / 1440.0;
    // This run's own samples, the minute in progress included.
    if (in.windows9x) {
        if (s.stats.sampleCount > 0) peak = std::max(peak.value_or(0), s.stats.maximum);
    } else if (std::optional<CommitCharge> commit = statusCommit(memory)) {
        peak = std::max(peak.value_or(0), wholeMo(commit->usedBytes));
        in.commitLimitBytes = commit->limitBytes;
    }
    if (peak) in.peakMo = *peak;
    in.dump = s.advice.dump;
    in.paging = s.advice.paging;
    in.iniMinimumMo = s.minPagingSize;
    in.iniMaximumMo = static_cast<int64_t>(s.maxPagingSize);
    std::string windowsDirectory = s.windowsDirectory;
    if (windowsDirectory.size() >= 2 && windowsDirectory[1] == ':')
        in.bootDrive = std::string(1, static_cast<char>(std::toupper(
                                          static_cast<unsigned char>(windowsDirectory[0])))) +
                       ":";
    return in;
}

AdviceReport currentAdviceReport(Context& c, const MemoryStatus& memory) {
    std::optional<int32_t> now = minuteOf(c.platform.system.utcNow());
    AdviceWatch& watch = c.state.advice;
    if (!now) {
        // No date, no history to read: the advice says what it lacks.
        AdviceInputs in;
        in.windows9x = windows9x(c);
        Advice advice = adviseFor(in);
        advice.missing.push_back("la date (horloge invalide)");
        watch.advice = advice;
        return adviceReport(in, advice, {});
    }
    if (watch.configurationDue(c.platform.system.tickCount())) readConfiguration(c, memory, now);
    forecast(c, memory, *now);
    AdviceInputs in = gatherAdviceInputs(c, memory, *now);
    Advice advice = adviseFor(in);
    watch.advice = advice;
    return adviceReport(in, advice, watch.forecast);
}

void followAdvice(Context& c, const MemoryStatus& memory) {
    AdviceWatch& watch = c.state.advice;
    if (watch.isOpen()) {
        watch.show(currentAdviceReport(c, memory));
        return;
    }
    if (!c.shown) return;
    std::optional<int32_t> now = minuteOf(c.platform.system.utcNow());
    if (!now) {
        watch.forecast = {};
        return;
    }
    if (watch.configurationDue(c.platform.system.tickCount())) readConfiguration(c, memory, now);
    forecast(c, memory, *now);
}

void showAdviceWindow(Context& c) {
    if (!openOrSay(c, "du conseil", "Conseil de taille du fichier d'échange",
                   [&] { c.platform.windows.showAdvice(c.state.advice); })) {
        return;
    }
    if (c.state.advice.isOpen()) {
        c.state.advice.show(currentAdviceReport(c, c.platform.system.memoryStatus()));
    }
}

}  // namespace corvane
