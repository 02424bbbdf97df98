// What the history window draws, worked out from the records: the span of time shown, one
// bucket of records per pixel column, the value scale, the time axis, the pointer's text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/history.h"
#include "history/minute_record.h"
#include "platform/platform.h"

namespace corvane {

enum class HistoryRange : int { Hour, Day, Week, Month, All };

struct RangeChoice {
    HistoryRange range;
    const char* label;  // "&" before the access key
    int32_t minutes;    // 0: every record
};

inline constexpr std::array<RangeChoice, 5> kHistoryRanges{{
    {HistoryRange::Hour, "&1 h", 60},
    {HistoryRange::Day, "&24 h", 1440},
    {HistoryRange::Week, "&7 j", 7 * 1440},
    {HistoryRange::Month, "&30 j", 30 * 1440},
    {HistoryRange::All, "&Tout", 0},
}};

// Minutes [start, end), UTC.
struct TimeSpan {
    int32_t start = 0;
    int32_t end = 0;
    int32_t length() const { return end - start; }
};

// The last `range` up to and with the current minute; "Tout" from the first record (an hour
// at least).
TimeSpan visibleSpan(HistoryRange range, const std::vector<MinuteRecord>& records,
                     int32_t nowMinute);
// The same over hours followed by minutes.
TimeSpan visibleSpan(HistoryRange range, const std::vector<MinuteRecord>& hours,
                     const std::vector<MinuteRecord>& minutes, int32_t nowMinute);
// The first minute `range` needs in memory; the smallest minute there is for "Tout".
int32_t firstMinuteNeeded(HistoryRange range, int32_t nowMinute);

// The records under one pixel column, folded as an hour's minutes are (addToSpan): `minute`
// is the first minute of the column's records, `lastMinute` the last they reach.
struct HistoryColumn : MinuteRecord {
    bool hasData = false;
    int32_t lastMinute = 0;
};

// One bucket per column over `span`; a minute wider than a column fills every column it
// covers. Costs the records in the span plus the columns, so that a paint never walks them all.
std::vector<HistoryColumn> bucketByColumn(const std::vector<MinuteRecord>& records, TimeSpan span,
                                          int columns);
// The same for records that each stand for `recordMinutes` minutes (60 for hours), added to
// `out`: hours fill every column they cover, as a minute wider than a column does.
void addByColumn(std::vector<HistoryColumn>& out, const std::vector<MinuteRecord>& records,
                 TimeSpan span, int32_t recordMinutes);
// The first minute under column `index`.
int32_t columnMinute(TimeSpan span, int columns, int index);
// The column `minute` falls in, counted from the span's start; outside 0 .. columns - 1 for a
// minute outside the span. Exact over any span, "Tout" over years included.
int64_t minuteColumn(TimeSpan span, int columns, int32_t minute);

// The series of the drawing; a click on an entry of the legend hides or shows its series.
enum HistorySeries : uint8_t {
    kSeriesBand = 1,      // the swap file's smallest to largest size
    kSeriesSwap = 2,      // the swap file's size
    kSeriesInUse = 4,     // the part of the swap file in use
    kSeriesAnalysis = 8,  // the analysis' minimum, average and maximum
    kSeriesMemory = 16,   // the memory in use (right-hand scale)
    kSeriesCommit = 32,   // the commit (right-hand scale)
    kSeriesLimit = 64,    // the commit's limit (right-hand scale)
    kSeriesAlerts = 128,  // the alerts' marks
};

// A value scale in Mo: rounded bounds and the step between its lines.
struct ValueAxis {
    int32_t low = 0;
    int32_t high = 100;
    int32_t step = 20;
};
// The left-hand scale: the swap file alone (its sizes, the part in use, the analysis), so that
// a swap file of 64 Mo beside 2 500 Mo of commit still fills the height. `hidden` takes out
// the part in use and the analysis where they are hidden.
ValueAxis valueAxis(const std::vector<HistoryColumn>& columns, const AnalysisFigures& analysis,
                    uint8_t hidden = 0);
// The right-hand scale of the memory and the commit, those of them shown; it takes in the
// commit's limit only where the commit came within a tenth of it (the limit of a machine with
// plenty of memory would flatten the other lines); elsewhere the limit is drawn where it falls
// inside the scale. Nothing when none of them is shown or known.
std::optional<ValueAxis> sideAxis(const std::vector<HistoryColumn>& columns, uint8_t hidden = 0);

// A mark of the time axis at a UTC minute, labelled in the user's local time and formats: the
// time for spans of hours, the date where the day changes and for spans of days.
struct TimeTick {
    int32_t minute = 0;
    std::string time;
    std::string date;
};
std::vector<TimeTick> timeTicks(TimeSpan span, int widthPixels, int minSpacingPixels,
                                System& system);

// The dashed lines of the analysis, largest first: "Maxi : 1540 Mo", "Moy : ...", "Mini : ...".
struct AnalysisLine {
    int32_t valueMo = 0;
    std::string label;
};
std::vector<AnalysisLine> analysisLines(const AnalysisFigures& analysis);

// The values under the pointer, in French, in the user's local time and formats: a line of
// figures (the commit where Windows reported it, the alerts raised), then a line naming the
// programs of that minute, if any.
std::string hoverText(const HistoryColumn& column, int32_t pointerMinute, System& system);

// What the window has to say about where the history is kept; empty when all is well.
std::string historyNotice(const History& history);

inline constexpr const char* kNoRecordText = "Aucune mesure sur cette période";

// Everything one drawing needs, worked out once per change of data, size or span.
struct HistoryPicture {
    TimeSpan span;
    std::vector<HistoryColumn> columns;
    ValueAxis axis;                 // the swap file's, at the left
    std::optional<ValueAxis> side;  // the memory's and the commit's, at the right
    uint8_t hidden = 0;             // HistorySeries bits the user hid
    std::vector<TimeTick> ticks;
    std::vector<AnalysisLine> analysis;
    bool anyData = false;
};
HistoryPicture layoutHistory(const std::vector<MinuteRecord>& records,
                             const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                             int plotWidth, int minTickSpacing, System& system, uint8_t hidden = 0);
// The same from hours (before the first minute) and minutes: each span draws from whichever
// detail there is.
HistoryPicture layoutHistory(const std::vector<MinuteRecord>& hours,
                             const std::vector<MinuteRecord>& minutes,
                             const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                             int plotWidth, int minTickSpacing, System& system, uint8_t hidden = 0);

}  // namespace corvane
