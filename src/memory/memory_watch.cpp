// The virtual memory's last figures and the window's contents made from them.
#include "memory/memory_watch.h"

#include "memory/memory_figures.h"

namespace corvane {

bool MemoryWatch::minuteDue(uint64_t tick) const {
    // A clock that went back (it cannot, but a restored tick count could) starts the minute anew.
    return !lastMinuteScan_ || tick < *lastMinuteScan_ || tick - *lastMinuteScan_ >= kMinuteMs;
}

void MemoryWatch::record(uint64_t tick, bool minute, const std::optional<CommitCharge>& commit,
                         const Listing<ProcessCommit>& processes,
                         const std::optional<Listing<PageFileUse>>& pageFiles) {
    if (minute) lastMinuteScan_ = tick;
    commit_ = commit;
    processesSupported_ = processes.supported;
    if (processes.supported) growth_.observe(processes.items, tick, minute);
    if (pageFiles) pageFiles_ = *pageFiles;
}

VirtualMemoryReport MemoryWatch::report(int32_t analysisMaxMo) const {
    VirtualMemoryReport r;
    r.commit = commitText(commit_);
    r.commitPermille = commit_ ? commitPermille(*commit_) : -1;
    r.peaks = peaksText(commit_, analysisMaxMo);
    if (!pageFiles_.supported) {
        r.pageFiles.push_back(std::string("Fichiers d'échange : ") + kNotOnThisWindows);
    } else if (pageFiles_.items.empty()) {
        r.pageFiles.push_back(configured_.empty()
                                  ? "Windows ne signale aucun fichier d'échange en service."
                                  : "Windows ne signale aucun fichier d'échange en service ; la "
                                    "configuration nomme " +
                                        configured_ + ", que Corvane analyse.");
    }
    for (const PageFileUse& f : pageFiles_.items) {
        std::string peak = f.peakBytes >= f.inUseBytes ? ", pic " + sizeText(f.peakBytes) : "";
        r.pageFiles.push_back(f.path + " : " + sizeText(f.sizeBytes) + ", en usage " +
                              sizeText(f.inUseBytes) + peak);
    }
    r.sort = sort_;
    if (!processesSupported_) {
        r.programsNote = std::string("Engagement par programme : ") + kNotOnThisWindows;
        return r;
    }
    bool capped = false;
    for (const ProgramFigures& p : topPrograms(growth_.figures(), sort_, kProgramsShown)) {
        capped = capped || p.commitCapped;
        r.programs.push_back(p.name + "\t" + std::to_string(p.pid) + "\t" +
                             sizeText(p.commitBytes) + (p.commitCapped ? " *" : "") + "\t" +
                             growthText(p.hourGrowthBytes) + "\t" + growthText(p.growthBytes));
    }
    if (r.programs.empty()) r.programsNote = "Aucun programme n'a pu être lu.";
    if (capped) r.programsNote = std::string("* ") + kCommitCappedNote;
    return r;
}

void MemoryWatch::show(int32_t analysisMaxMo) {
    shownMaximumMo_ = analysisMaxMo;
    if (view_) view_->show(report(analysisMaxMo));
}

void MemoryWatch::sortBy(ProcessOrder key) {
    sort_ = picked(sort_, key);
    show(shownMaximumMo_);
}

}  // namespace corvane
