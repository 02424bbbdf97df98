// What Corvane keeps of the virtual memory while it runs: the last figures read, each program's
// growth, when the processes were last scanned, and the "Mémoire virtuelle" window while open.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "memory/process_growth.h"
#include "platform/virtual_memory.h"

namespace corvane {

// The programs the window lists.
inline constexpr size_t kProgramsShown = 15;

class MemoryWatch {
public:
    static constexpr uint64_t kMinuteMs = 60000;

    void attach(VirtualMemoryView* view) { view_ = view; }
    void detach(VirtualMemoryView* view) {
        if (view_ == view) view_ = nullptr;
    }
    bool isOpen() const { return view_ != nullptr; }

    // The processes are scanned once a minute, for the programs' growth over the hour.
    bool minuteDue(uint64_t tick) const;

    // Takes in what one reading of the figures gave at `tick`. Page files are read only for the
    // open window: nothing keeps them else.
    void record(uint64_t tick, bool minute, const std::optional<CommitCharge>& commit,
                const Listing<ProcessCommit>& processes,
                const std::optional<Listing<PageFileUse>>& pageFiles);
    // The swap file the configuration names, which the main window analyses: named where
    // Windows lists no page file, so that the two do not seem to disagree.
    void setConfigured(const std::string& swapPath) { configured_ = swapPath; }
    // The analysis begins anew: each program's growth since then counts from now.
    void restartAnalysis() { growth_.restartAnalysis(); }

    // The window's contents from the last figures, the programs in the window's order.
    VirtualMemoryReport report(int32_t analysisMaxMo) const;
    // Shows the last figures in the open window.
    void show(int32_t analysisMaxMo);
    // The user picks a column to sort by (its header or its button): shown again at once, from
    // the same figures, and kept for every refresh after.
    void sortBy(ProcessOrder key);

    const ProcessGrowth& growth() const { return growth_; }

private:
    VirtualMemoryView* view_ = nullptr;
    ProgramSort sort_;
    ProcessGrowth growth_;
    std::optional<uint64_t> lastMinuteScan_;
    std::optional<CommitCharge> commit_;
    bool processesSupported_ = true;
    Listing<PageFileUse> pageFiles_{true, {}};
    int32_t shownMaximumMo_ = 0;
    std::string configured_;
};

}  // namespace corvane
