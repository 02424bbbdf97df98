// Which programs hold the commit, and how much each grew over the last hour and since the
// analysis began, followed from one scan of the processes to the next.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/virtual_memory.h"

namespace corvane {

// A program's figures at the last scan.
struct ProgramFigures {
    std::string name;
    uint32_t pid = 0;
    uint64_t commitBytes = 0;
    int64_t hourGrowthBytes = 0;  // since an hour ago, or since it started within the hour
    int64_t growthBytes = 0;      // since the analysis began, or since it started during it
    bool commitCapped = false;    // see ProcessCommit
};

class ProcessGrowth {
public:
    static constexpr uint64_t kHourMs = 3600000;

    // One scan at `tick` (ms). The minute's scans are those the hour's growth is counted from;
    // the others (the open window's, at each refresh) only bring the figures up to date. A
    // process missing from the scan has ended and is forgotten.
    void observe(const std::vector<ProcessCommit>& scan, uint64_t tick, bool minute);
    // A new analysis begins: growth since it began counts from the figures of the last scan.
    void restartAnalysis();
    // Every program of the last scan.
    std::vector<ProgramFigures> figures() const;

private:
    struct Sample {
        uint64_t tick;
        uint64_t bytes;
    };
    struct Tracked {
        uint32_t pid;
        uint64_t started;
        std::string name;
        uint64_t commit;     // at the last scan
        uint64_t baseline;   // when the analysis began, or 0 for a program started after that
        bool startedDuring;  // first seen after the analysis' first scan
        uint64_t firstBytes;
        std::vector<Sample> minutes;  // the minute's scans of the last hour, and one older
        bool capped = false;
    };
    int64_t hourGrowth(const Tracked& t) const;

    std::vector<Tracked> tracked_;  // by process id
    bool analysisSeen_ = false;
    uint64_t lastTick_ = 0;
};

// The direction a column sorts in when it is first picked: names and ids from the smallest, the
// figures from the largest, where what the window is for is found.
bool descendingAtFirst(ProcessOrder key);
// The sort after the user picks `key` (its column's header or its button): the column already
// sorted turns its direction, another starts in its own.
ProgramSort picked(ProgramSort current, ProcessOrder key);

// The `count` programs the list shows, in `sort`. They are those with the most of the sorted
// figure (of commit when sorting by name or id), so that turning the direction shows the same
// programs the other way round; ties go to the larger commit, then to the smaller process id, so
// that the list does not shuffle between refreshes.
std::vector<ProgramFigures> topPrograms(std::vector<ProgramFigures> programs, ProgramSort sort,
                                        size_t count);

// The programs a busy minute of the history names: the three holding the most commit.
inline constexpr size_t kProgramsOfAMinute = 3;
std::vector<ProgramFigures> programsOfTheMinute(const std::vector<ProgramFigures>& programs);

}  // namespace corvane
