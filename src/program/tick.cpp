// The sampling tick.
#include "program/tick.h"

#include <limits>
#include <optional>

#include "common/conversions.h"
#include "common/numbers.h"
#include "memory/memory_figures.h"
#include "program/advice.h"
#include "program/alerts.h"
#include "program/prometheus_export.h"
#include "program/recording.h"
#include "program/virtual_memory.h"
#include "stats/labels.h"

namespace corvane {

namespace {

// The running total as a number. A stored text is read at the first addition; one that holds
// no number a double can take, or a total below zero (a sum of sizes), is a damaged setting
// like any other (13), and the start-up's trap restarts the analysis on it.
double totalValue(const RunningTotal& total, const std::string& decimalSeparator) {
    if (const double* value = std::get_if<double>(&total)) return *value;
    std::optional<double> value = parseNumber(std::get<std::string>(total), decimalSeparator);
    if (!value || *value < 0) throw RuntimeError(kErrTypeMismatch);
    return *value;
}

}  // namespace

void addSample(Statistics& s, int32_t currentMo, const std::string& decimalSeparator) {
    if (s.sampleCount == std::numeric_limits<int32_t>::max()) throw RuntimeError(kErrOverflow);
    // Everything is worked out before anything is kept, so a sample that fails leaves the
    // statistics as they were.
    int32_t count = s.sampleCount + 1;
    double total = totalValue(s.total, decimalSeparator) + currentMo;
    double average = roundHalfEven(total / count);
    // Samples are 32-bit: only a damaged stored total takes their average beyond that.
    if (!(average >= -2147483648.0 && average <= 2147483647.0)) {
        throw RuntimeError(kErrTypeMismatch);
    }
    s.sampleCount = count;
    s.current = currentMo;
    s.total = total;
    s.average = static_cast<int32_t>(average);
    // The first sample of an analysis is its minimum and maximum whatever they held, so that a
    // swap file above the minimum's starting value of 32767 Mo is still counted.
    if (s.sampleCount == 1) {
        s.minimum = s.current;
        s.maximum = s.current;
        return;
    }
    if (s.current < s.minimum) s.minimum = s.current;
    if (s.current > s.maximum) s.maximum = s.current;
}

void afterFirstPaint(Context& c) {
    if (c.shown) return;
    c.shown = true;
    MemoryStatus memory = c.platform.system.memoryStatus();
    followVirtualMemory(c, memory);
    updateNotificationIcon(c, memory);
    // The first minute's scan has just been made: the export's first file goes with it.
    exportToPrometheus(c, memory);
}

void Timer1Tick(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;

    // A length that cannot be read counts no sample: the statistics stay as they are and the
    // label says why, until the file reads again.
    SwapFileSize size = p.files.swapFileSize(s.swapPath);
    s.swapReadable = size.known;
    if (size.known) addSample(s.stats, wholeMo(size.bytes), p.system.decimalSeparator());

    auto elapsed = static_cast<int64_t>(
        roundHalfEven(static_cast<double>(p.system.tickCount()) - s.stats.startTick));
    MemoryStatus memory = p.system.memoryStatus();
    if (size.known) recordSample(c, s.stats.current, memory, size.inUseBytes);
    followVirtualMemory(c, memory);
    followAdvice(c, memory);

    p.view.setText(Control::swap,
                   size.known ? swapLabel(s.stats) : swapUnreadableLabel(s.swapPath));
    p.view.setText(Control::MemLibre,
                   memoryLabel(usedPhysicalMo(memory), totalPhysicalMo(memory), memory.memoryLoad));
    p.view.setText(Control::DebutWin, elapsedLabel(elapsed));

    if (!s.swapPath.empty() && p.view.isMinimised()) {
        p.view.setCaption(minimisedCaption(s.stats));
    } else {
        p.view.setCaption(s.messageTitle);
    }

    if (c.dbActif) {
        if (!p.db.isLoaded()) p.db.load();
        p.db.clear(DbList::List1);
        for (const std::string& line : memoryLines(memory, p.system.decimalSeparator())) {
            p.db.addItem(DbList::List1, line);
        }
    }
    watchAlerts(c, memory, size.known);
    exportToPrometheus(c, memory);
}

}  // namespace corvane
