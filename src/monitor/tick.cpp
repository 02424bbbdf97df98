// The sampling tick.
#include "monitor/tick.h"

#include <limits>

#include "common/numbers.h"
#include "monitor/labels.h"

namespace corvane {

int32_t bytesToMo(uint64_t bytes) {
    return static_cast<int32_t>(roundHalfEven(static_cast<double>(bytes) / 1048576.0));
}

void addSample(Statistics& s, int32_t currentMo) {
    if (s.sampleCount == std::numeric_limits<int32_t>::max()) throw RuntimeError(kErrOverflow);
    s.sampleCount += 1;
    s.current = currentMo;
    s.total += s.current;
    s.average = static_cast<int32_t>(roundHalfEven(s.total / s.sampleCount));
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

void Timer1Tick(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;

    // A length that cannot be read counts no sample: the statistics stay as they are and the
    // label says why, until the file reads again.
    SwapFileSize size = p.files.swapFileSize(s.swapPath);
    s.swapReadable = size.known;
    if (size.known) addSample(s.stats, bytesToMo(size.bytes));

    auto elapsed = static_cast<int64_t>(roundHalfEven(static_cast<double>(p.system.tickCount()) -
                                                      s.stats.startTick));
    MemoryStatus memory = p.system.memoryStatus();

    p.view.setText(Control::swap, size.known ? swapLabel(s.stats) : swapUnreadableLabel(s.swapPath));
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
}

}  // namespace corvane
