// Reading the virtual memory's figures at the tick's pace, over the platform.
#include "program/virtual_memory.h"

#include "memory/memory_figures.h"

namespace corvane {

namespace {

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
    watch.record(p.system.tickCount(), minute, commit, p.memory.processes(), pageFiles);
    watch.show(c.state.stats.maxCommitMo);
}

}  // namespace

void SuivreMemoireVirtuelle(Context& c, const MemoryStatus& memory) {
    Statistics& s = c.state.stats;
    // Where Windows gives the commit limit and what is left of it (2000 and later), the commit
    // in use is their difference: no call beyond the tick's own.
    if (memory.commitKnown && memory.totalPageFile >= memory.availPageFile) {
        s.maxCommitMo = raisedMaximum(s.maxCommitMo, memory.totalPageFile - memory.availPageFile);
    }
    MemoryWatch& watch = c.state.memoryWatch;
    bool minute = watch.minuteDue(c.platform.system.tickCount());
    if (minute || watch.isOpen()) readFigures(c, minute);
}

void memoireVirtuelle_Click(Context& c) {
    // A window that cannot be made is no reason to end the program.
    try {
        c.platform.windows.showVirtualMemory(c.state.memoryWatch);
    } catch (const RuntimeError& error) {
        c.platform.dialogs.messageBox(
            "La fenêtre de la mémoire virtuelle n'a pas pu s'ouvrir.\r\n" + error.description(),
            "Mémoire virtuelle", {MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    if (c.state.memoryWatch.isOpen()) readFigures(c, false);
}

}  // namespace corvane
