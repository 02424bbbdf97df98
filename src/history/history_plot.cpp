// The history window's arithmetic: spans, columns, scales, axis marks and texts.
#include "history/history_plot.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "history/hour_records.h"
#include "history/utc_minutes.h"

namespace corvane {

namespace {

// Marks of the time axis, in minutes: the first that leaves room for its labels is taken.
constexpr int32_t kTickSteps[] = {1,         2,         5,         10,         15,
                                  30,        60,        120,       180,        360,
                                  720,       1440,      2 * 1440,  7 * 1440,   14 * 1440,
                                  30 * 1440, 60 * 1440, 90 * 1440, 180 * 1440, 365 * 1440};

int64_t floorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

void merge(HistoryColumn& column, const MinuteRecord& r) {
    if (column.hasData) {
        addToSpan(column, r);
    } else {
        static_cast<MinuteRecord&>(column) = r;
        column.hasData = true;
    }
    column.lastMinute = r.minute;
}

int32_t niceStep(int64_t raw) {
    if (raw <= 1) return 1;
    int64_t magnitude = 1;
    while (magnitude * 10 <= raw) magnitude *= 10;
    for (int64_t factor : {1, 2, 5, 10}) {
        if (factor * magnitude >= raw) {
            return static_cast<int32_t>(std::min<int64_t>(factor * magnitude, 1000000000));
        }
    }
    return static_cast<int32_t>(std::min<int64_t>(10 * magnitude, 1000000000));
}

struct LocalText {
    std::string date;
    std::string time;
};

LocalText localText(System& system, int32_t utcMinute) {
    DateTime local = system.utcToLocal(dateTimeOf(utcMinute));
    return {system.formatShortDate(local), system.formatShortTime(local)};
}

}  // namespace

TimeSpan visibleSpan(HistoryRange range, const std::vector<MinuteRecord>& records,
                     int32_t nowMinute) {
    return visibleSpan(range, {}, records, nowMinute);
}

TimeSpan visibleSpan(HistoryRange range, const std::vector<MinuteRecord>& hours,
                     const std::vector<MinuteRecord>& minutes, int32_t nowMinute) {
    constexpr int32_t kShortest = 60;
    TimeSpan span;
    span.end = nowMinute + 1;
    if (range != HistoryRange::All) {
        for (const RangeChoice& choice : kHistoryRanges) {
            if (choice.range == range) span.start = span.end - choice.minutes;
        }
        return span;
    }
    if (!minutes.empty()) span.end = std::max(span.end, minutes.back().minute + 1);
    if (!hours.empty()) span.end = std::max(span.end, hours.back().minute + 60);
    span.start = span.end - kShortest;
    if (!minutes.empty()) span.start = std::min(span.start, minutes.front().minute);
    if (!hours.empty()) span.start = std::min(span.start, hours.front().minute);
    return span;
}

int32_t firstMinuteNeeded(HistoryRange range, int32_t nowMinute) {
    for (const RangeChoice& choice : kHistoryRanges) {
        if (choice.range == range && choice.minutes > 0) return nowMinute + 1 - choice.minutes;
    }
    return std::numeric_limits<int32_t>::min();
}

std::vector<HistoryColumn> bucketByColumn(const std::vector<MinuteRecord>& records, TimeSpan span,
                                          int columns) {
    std::vector<HistoryColumn> out(static_cast<size_t>(std::max(columns, 0)));
    addByColumn(out, records, span, 1);
    return out;
}

void addByColumn(std::vector<HistoryColumn>& out, const std::vector<MinuteRecord>& records,
                 TimeSpan span, int32_t recordMinutes) {
    int64_t columns = static_cast<int64_t>(out.size());
    int64_t length = span.length();
    if (columns <= 0 || length <= 0) return;
    // Records that began before the span may reach into it.
    auto it = std::lower_bound(records.begin(), records.end(),
                               static_cast<int64_t>(span.start) - recordMinutes + 1,
                               [](const MinuteRecord& r, int64_t m) { return r.minute < m; });
    for (; it != records.end() && it->minute < span.end; ++it) {
        int64_t offset = it->minute - span.start;
        int64_t first = std::max<int64_t>(0, floorDiv(offset * columns, length));
        // A record wider than a column covers each column it reaches into.
        int64_t last = ((offset + recordMinutes) * columns + length - 1) / length - 1;
        last = std::min<int64_t>(std::max(last, first), columns - 1);
        for (int64_t c = first; c <= last; ++c) {
            merge(out[static_cast<size_t>(c)], *it);
            out[static_cast<size_t>(c)].lastMinute = it->minute + recordMinutes - 1;
        }
    }
}

int32_t columnMinute(TimeSpan span, int columns, int index) {
    if (columns <= 0) return span.start;
    return static_cast<int32_t>(span.start + static_cast<int64_t>(index) * span.length() / columns);
}

int64_t minuteColumn(TimeSpan span, int columns, int32_t minute) {
    int64_t length = std::max<int64_t>(1, span.length());
    return floorDiv((static_cast<int64_t>(minute) - span.start) * columns, length);
}

namespace {

// Bounds of values seen, made into a scale with some room above and below, so that a flat
// line does not lie on the frame.
struct Extent {
    int64_t low = std::numeric_limits<int64_t>::max();
    int64_t high = std::numeric_limits<int64_t>::min();
    void take(int64_t v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool empty() const { return low > high; }
    ValueAxis axis() const {
        if (empty()) return {};
        int64_t margin = std::max<int64_t>(1, (high - low) / 20);
        int64_t from = std::max<int64_t>(0, low - margin);
        int64_t to = high + margin;
        int32_t step = niceStep((to - from + 4) / 5);
        ValueAxis axis;
        axis.step = step;
        axis.low = static_cast<int32_t>(floorDiv(from, step) * step);
        int64_t top = (floorDiv(to - 1, step) + 1) * step;
        axis.high =
            static_cast<int32_t>(std::min<int64_t>(top, std::numeric_limits<int32_t>::max()));
        if (axis.high <= axis.low) axis.high = axis.low + step;
        return axis;
    }
};

}  // namespace

ValueAxis valueAxis(const std::vector<HistoryColumn>& columns, const AnalysisFigures& analysis,
                    uint8_t hidden) {
    Extent e;
    for (const HistoryColumn& c : columns) {
        if (!c.hasData) continue;
        e.take(c.minMo);
        e.take(c.maxMo);
        if (c.inUseMo != kUnknownMo && !(hidden & kSeriesInUse)) e.take(c.inUseMo);
    }
    if (analysis.any && !(hidden & kSeriesAnalysis)) {
        e.take(analysis.minimum);
        e.take(analysis.maximum);
        e.take(analysis.average);
    }
    return e.axis();
}

std::optional<ValueAxis> sideAxis(const std::vector<HistoryColumn>& columns, uint8_t hidden) {
    bool memory = !(hidden & kSeriesMemory);
    bool commit = !(hidden & kSeriesCommit);
    bool limit = !(hidden & kSeriesLimit);
    Extent e;
    for (const HistoryColumn& c : columns) {
        if (!c.hasData) continue;
        if (memory && c.memoryMo != kUnknownMo) e.take(c.memoryMo);
        if (commit && c.commitMo != kUnknownMo) e.take(c.commitMo);
        if (limit && c.commitLimitMo > 0 &&
            static_cast<int64_t>(c.commitMo) * 10 >= static_cast<int64_t>(c.commitLimitMo) * 9)
            e.take(c.commitLimitMo);
    }
    if (e.empty()) return std::nullopt;
    return e.axis();
}

std::vector<TimeTick> timeTicks(TimeSpan span, int widthPixels, int minSpacingPixels,
                                System& system) {
    std::vector<TimeTick> ticks;
    int64_t length = span.length();
    if (widthPixels <= 0 || length <= 0) return ticks;
    int64_t spacing = std::max(minSpacingPixels, 1);
    int32_t step = kTickSteps[std::size(kTickSteps) - 1];
    for (int32_t candidate : kTickSteps) {
        if (static_cast<int64_t>(candidate) * widthPixels >= spacing * length) {
            step = candidate;
            break;
        }
    }
    // Marks fall on round local times: the offset of the user's clock at the span's end.
    int64_t offset = 0;
    if (std::optional<int32_t> local = minuteOf(system.utcToLocal(dateTimeOf(span.end)))) {
        offset = static_cast<int64_t>(*local) - span.end;
    }
    bool daily = step >= kMinutesPerDay;
    std::string previousDate;
    for (int64_t l = (floorDiv(span.start + offset - 1, step) + 1) * step; l - offset < span.end;
         l += step) {
        TimeTick tick;
        tick.minute = static_cast<int32_t>(l - offset);
        LocalText text = localText(system, tick.minute);
        if (!daily) tick.time = text.time;
        if (daily || text.date != previousDate) tick.date = text.date;
        previousDate = text.date;
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

std::vector<AnalysisLine> analysisLines(const AnalysisFigures& a) {
    if (!a.any) return {};
    return {{a.maximum, "Maxi : " + std::to_string(a.maximum) + " Mo"},
            {a.average, "Moy : " + std::to_string(a.average) + " Mo"},
            {a.minimum, "Mini : " + std::to_string(a.minimum) + " Mo"}};
}

std::string hoverText(const HistoryColumn& column, int32_t pointerMinute, System& system) {
    if (!column.hasData) {
        LocalText at = localText(system, pointerMinute);
        return "Le " + at.date + " à " + at.time + " : aucune mesure";
    }
    LocalText first = localText(system, column.minute);
    std::string text;
    if (column.minute == column.lastMinute) {
        text = "Le " + first.date + " à " + first.time;
    } else {
        LocalText last = localText(system, column.lastMinute);
        if (first.date == last.date) {
            text = "Le " + first.date + " de " + first.time + " à " + last.time;
        } else {
            text = "Du " + first.date + " " + first.time + " au " + last.date + " " + last.time;
        }
    }
    text += " : SWAP " + std::to_string(column.lastMo) + " Mo";
    if (column.minMo != column.maxMo) {
        text +=
            " (de " + std::to_string(column.minMo) + " à " + std::to_string(column.maxMo) + " Mo)";
    }
    // A file a spreadsheet left without the memory's column knows none.
    if (column.memoryMo != kUnknownMo) {
        text += ", RAM utilisée " + std::to_string(column.memoryMo) + " Mo";
    }
    if (column.inUseMo != kUnknownMo) {
        text += ", SWAP utilisé " + std::to_string(column.inUseMo) + " Mo";
    }
    // Windows 9x, NT 4 and the files they wrote know no commit: nothing is said of it.
    if (column.commitMo != kUnknownMo) {
        text += ", engagement " + std::to_string(column.commitMo);
        if (column.commitLimitMo != kUnknownMo)
            text += " / " + std::to_string(column.commitLimitMo);
        text += " Mo";
    }
    if (column.alerts != 0) {
        const std::pair<uint8_t, const char*> kinds[] = {
            {kAlertCommit, "seuil d'engagement atteint"},
            {kAlertSwapGrowth, "fichier SWAP agrandi"},
            {kAlertMemory, "seuil de mémoire atteint"}};
        std::string raised;
        int count = 0;
        for (const auto& [bit, name] : kinds) {
            if (!(column.alerts & bit)) continue;
            raised += (count++ == 0 ? "" : ", ") + std::string(name);
        }
        text += (count > 1 ? "\r\nAlertes : " : "\r\nAlerte : ") + raised;
    }
    if (!column.programs.empty()) {
        text += "\r\nProgrammes qui engagent le plus : ";
        for (size_t i = 0; i < column.programs.size(); ++i) {
            const ProgramMark& p = column.programs[i];
            std::string growth = std::to_string(p.hourGrowthMo);
            if (p.hourGrowthMo > 0) growth = "+" + growth;
            text += (i == 0 ? "" : " ; ") + p.name + " (PID " + std::to_string(p.pid) + ") " +
                    std::to_string(p.commitMo) + " Mo, " + growth + " Mo sur l'heure";
        }
    }
    return text;
}

namespace {

// "1 ligne reprise", "3 lignes reprises": French puts 0 and 1 in the singular.
std::string lineCount(int64_t count, const char* participle) {
    std::string plural = count > 1 ? "s" : "";
    return std::to_string(count) + " ligne" + plural + " " + participle + plural;
}

}  // namespace

std::string historyNotice(const History& history) {
    std::string notice;
    if (!history.previousRead()) {
        notice = "L'historique enregistré (" + history.path() +
                 ") n'a pas pu être lu : seules les mesures de cette session sont montrées.";
    }
    if (history.unreadLines() > 0) {
        if (!notice.empty()) notice += " ";
        // How much the history shows of them, and what stays only in the file as it was.
        notice += history.path() + " contenait des lignes d'une autre forme que la sienne : " +
                  lineCount(history.takenBackLines(), "reprise");
        const int64_t left = history.leftLines();
        if (history.backupPath().empty()) {
            if (left > 0) notice += ", " + lineCount(left, "non lue");
            notice += " ; le fichier est laissé tel quel et les nouvelles mesures y sont ajoutées.";
        } else if (left > 0) {
            notice += ", " + lineCount(left, "laissée") +
                      " dans la copie du fichier tel qu'il était, " + history.backupPath() + ".";
        } else {
            notice += " ; le fichier tel qu'il était est gardé dans " + history.backupPath() + ".";
        }
    }
    if (!history.saved()) {
        if (!notice.empty()) notice += " ";
        notice += "L'historique ne peut pas être écrit dans " + history.path() +
                  " : il est gardé en mémoire pour cette session.";
    }
    if (history.cappedCommit()) {
        if (!notice.empty()) notice += " ";
        notice +=
            "L'engagement des programmes nommés est lu sur 32 bits : il peut être faux "
            "au-delà de 4 Go ; la version 64 bits de Corvane le montre en entier.";
    }
    return notice;
}

HistoryPicture layoutHistory(const std::vector<MinuteRecord>& records,
                             const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                             int plotWidth, int minTickSpacing, System& system, uint8_t hidden) {
    return layoutHistory({}, records, analysis, range, nowMinute, plotWidth, minTickSpacing, system,
                         hidden);
}

HistoryPicture layoutHistory(const std::vector<MinuteRecord>& hours,
                             const std::vector<MinuteRecord>& minutes,
                             const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                             int plotWidth, int minTickSpacing, System& system, uint8_t hidden) {
    HistoryPicture picture;
    picture.hidden = hidden;
    picture.span = visibleSpan(range, hours, minutes, nowMinute);
    picture.columns.resize(static_cast<size_t>(std::max(plotWidth, 0)));
    // Hours are older than the first minute: added first, they keep each column in time order.
    addByColumn(picture.columns, hours, picture.span, 60);
    addByColumn(picture.columns, minutes, picture.span, 1);
    picture.anyData = std::any_of(picture.columns.begin(), picture.columns.end(),
                                  [](const HistoryColumn& c) { return c.hasData; });
    picture.axis = valueAxis(picture.columns, analysis, hidden);
    picture.side = sideAxis(picture.columns, hidden);
    picture.ticks = timeTicks(picture.span, plotWidth, minTickSpacing, system);
    picture.analysis = analysisLines(analysis);
    return picture;
}

}  // namespace corvane
