// Reading the virtual memory's figures at the tick's pace, over the platform.
#include "program/virtual_memory.h"

#include "history/utc_minutes.h"
#include "memory/memory_figures.h"
#include "program/window_opening.h"

namespace corvane {

namespace {

// The minute's scan gives the history the programs it names if the minute proves busy.
void notePrograms(Context& c) {
    History& history = c.state.history;
    if (!history.isOpen()) return;
    std::optional<int32_t> minute = minuteOf(c.platform.system.utcNow());
    if (!minute) return;
    std::vector<ProgramMark> marks;
    bool capped = false;
    for (const ProgramFigures& p : programsOfTheMinute(c.state.memoryWatch.growth().figures())) {
        marks.push_back({p.name, p.pid, wholeMo(p.commitBytes), signedWholeMo(p.hourGrowthBytes)});
        capped |= p.commitCapped;
    }
    history.notePrograms(*minute, std::move(marks), capped);
}

// Reads what the moment calls for: the processes always, the commit charge and the page files
// only for the open window (with it closed, the tick's memory status gives the commit).
void readFigures(Context& c, bool minute) {
    Platform& p = c.platform;
    MemoryWatch& watch = c.state.memoryWatch;
    std::optional<CommitCharge> commit;
    std::optional<Listing<PageFileUse>> pageFiles;
    if (watch.isOpen()) {
        commit = p.memory.commitCharge();
        pageFiles = p.memory.pageFiles();
        if (commit) {
            Statistics& s = c.state.stats;
            s.maxCommitMo = raisedMaximum(s.maxCommitMo, commit->usedBytes);
        }
    }
    Listing<ProcessCommit> processes = p.memory.processes();
    watch.record(p.system.tickCount(), minute, commit, processes, pageFiles);
    watch.setConfigured(c.state.swapPath);
    if (minute && processes.supported) notePrograms(c);
    watch.show(c.state.stats.maxCommitMo);
}

}  // namespace

void followVirtualMemory(Context& c, const MemoryStatus& memory) {
    Statistics& s = c.state.stats;
    // The tick's memory status gives the commit where Windows can: no call beyond the tick's own.
    if (std::optional<CommitCharge> commit = statusCommit(memory)) {
        s.maxCommitMo = raisedMaximum(s.maxCommitMo, commit->usedBytes);
    }
    if (!c.shown) return;
    MemoryWatch& watch = c.state.memoryWatch;
    bool minute = watch.minuteDue(c.platform.system.tickCount());
    if (minute) c.state.prometheusDue = true;
    if (minute || watch.isOpen()) readFigures(c, minute);
}

void showVirtualMemoryWindow(Context& c) {
    if (!openOrSay(c, "de la mémoire virtuelle", "Mémoire virtuelle",
                   [&] { c.platform.windows.showVirtualMemory(c.state.memoryWatch); })) {
        return;
    }
    if (c.state.memoryWatch.isOpen()) readFigures(c, false);
}

}  // namespace corvane
