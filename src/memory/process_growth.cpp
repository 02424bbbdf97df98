// Following each process's commit from scan to scan.
#include "memory/process_growth.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

int64_t difference(uint64_t now, uint64_t before) {
    return now >= before ? static_cast<int64_t>(now - before) : -static_cast<int64_t>(before - now);
}

}  // namespace

void ProcessGrowth::observe(const std::vector<ProcessCommit>& scan, uint64_t tick, bool minute) {
    std::vector<Tracked> next;
    next.reserve(scan.size());
    for (const ProcessCommit& p : scan) {
        auto found = std::lower_bound(tracked_.begin(), tracked_.end(), p.pid,
                                      [](const Tracked& t, uint32_t pid) { return t.pid < pid; });
        // An id given again to a new process is a new program: its start time (or, where the
        // system does not give it, its name) differs.
        bool same = found != tracked_.end() && found->pid == p.pid && found->started == p.started &&
                    found->name == p.name;
        Tracked t =
            same ? std::move(*found)
                 : Tracked{
                       p.pid,         p.started,     p.name, 0, analysisSeen_ ? 0 : p.commitBytes,
                       analysisSeen_, p.commitBytes, {}};
        t.commit = p.commitBytes;
        t.capped = p.commitCapped;
        if (minute) {
            t.minutes.push_back({tick, p.commitBytes});
            // The newest scan an hour old or more is the hour's base; older ones serve no more.
            while (t.minutes.size() >= 2 && t.minutes[1].tick + kHourMs <= tick)
                t.minutes.erase(t.minutes.begin());
        }
        next.push_back(std::move(t));
    }
    std::sort(next.begin(), next.end(),
              [](const Tracked& a, const Tracked& b) { return a.pid < b.pid; });
    tracked_ = std::move(next);
    analysisSeen_ = true;
    lastTick_ = tick;
}

void ProcessGrowth::restartAnalysis() {
    // Only the analysis' base moves: whether a program started since Corvane first looked is
    // still what its growth over the hour is counted from.
    for (Tracked& t : tracked_) t.baseline = t.commit;
}

int64_t ProcessGrowth::hourGrowth(const Tracked& t) const {
    const Sample* base = nullptr;
    for (const Sample& s : t.minutes) {
        if (s.tick + kHourMs <= lastTick_) base = &s;
    }
    if (base) return difference(t.commit, base->bytes);
    // Not seen an hour ago: a program started since grew by all it holds; one that ran before
    // Corvane watched it grew by what it took since it was first seen.
    if (t.startedDuring) return difference(t.commit, 0);
    return difference(t.commit, t.firstBytes);
}

std::vector<ProgramFigures> ProcessGrowth::figures() const {
    std::vector<ProgramFigures> out;
    out.reserve(tracked_.size());
    for (const Tracked& t : tracked_) {
        out.push_back(
            {t.name, t.pid, t.commit, hourGrowth(t), difference(t.commit, t.baseline), t.capped});
    }
    return out;
}

bool descendingAtFirst(ProcessOrder key) {
    return key != ProcessOrder::Name && key != ProcessOrder::Pid;
}

ProgramSort picked(ProgramSort current, ProcessOrder key) {
    if (current.key == key) return {key, !current.descending};
    return {key, descendingAtFirst(key)};
}

std::vector<ProgramFigures> topPrograms(std::vector<ProgramFigures> programs, ProgramSort sort,
                                        size_t count) {
    ProcessOrder chosenBy = descendingAtFirst(sort.key) ? sort.key : ProcessOrder::Commit;
    auto figure = [chosenBy](const ProgramFigures& p) -> int64_t {
        switch (chosenBy) {
            case ProcessOrder::HourGrowth: return p.hourGrowthBytes;
            case ProcessOrder::Growth: return p.growthBytes;
            default: break;
        }
        return static_cast<int64_t>(std::min<uint64_t>(p.commitBytes, INT64_MAX));
    };
    auto larger = [&](const ProgramFigures& a, const ProgramFigures& b) {
        if (figure(a) != figure(b)) return figure(a) > figure(b);
        if (a.commitBytes != b.commitBytes) return a.commitBytes > b.commitBytes;
        return a.pid < b.pid;
    };
    count = std::min(count, programs.size());
    std::partial_sort(programs.begin(), programs.begin() + static_cast<std::ptrdiff_t>(count),
                      programs.end(), larger);
    programs.resize(count);
    if (sort.key == ProcessOrder::Name) {
        // Windows' names differ in case only ("explorer.exe", "EXPLORER.EXE"): one program.
        auto folded = [](std::string name) {
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return name;
        };
        std::sort(programs.begin(), programs.end(),
                  [&](const ProgramFigures& a, const ProgramFigures& b) {
                      std::string x = folded(a.name), y = folded(b.name);
                      return x != y ? x < y : a.pid < b.pid;
                  });
    } else if (sort.key == ProcessOrder::Pid) {
        std::sort(programs.begin(), programs.end(),
                  [](const ProgramFigures& a, const ProgramFigures& b) { return a.pid < b.pid; });
    }
    if (sort.descending != descendingAtFirst(sort.key))
        std::reverse(programs.begin(), programs.end());
    return programs;
}

std::vector<ProgramFigures> programsOfTheMinute(const std::vector<ProgramFigures>& programs) {
    return topPrograms(programs, ProgramSort{}, kProgramsOfAMinute);
}

}  // namespace corvane
