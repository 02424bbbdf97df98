// The swap file's history over days and weeks: the minutes recorded, kept in "Corvane.csv"
// beside the journal, and the window that may be watching them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/minute_aggregator.h"
#include "history/minute_record.h"
#include "platform/platform.h"

namespace corvane {

// The analysis statistics as the history window draws them.
struct AnalysisFigures {
    bool any = false;  // false before the analysis's first sample
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t average = 0;
};

class History {
public:
    // Records older than this, counted from now, go when the file is compacted.
    static constexpr int32_t kKeptDays = 400;

    // Reads the history in `programDirectory` (which ends with "\") and compacts the file when
    // it holds records too old, lines that do not parse, or a line cut short. Never raises.
    void open(FileSystem& files, const std::string& programDirectory, const DateTime& utcNow);
    bool isOpen() const { return opened_; }

    // One sample. When it begins a new minute, the minute before is recorded and appended to
    // the file. Never raises: what cannot be written waits in memory and goes with the next
    // minute that can be.
    void addSample(FileSystem& files, const HistorySample& sample);
    // Records the minute in progress and writes what waits, as the program ends.
    void close(FileSystem& files);
    // Starts a new history; the file becomes the rotated one (one generation is kept).
    void startNew(FileSystem& files);
    // Writes a copy of the history to `target`; raises RuntimeError when it cannot.
    void exportTo(FileSystem& files, const std::string& target);

    // Every record, oldest first.
    const std::vector<MinuteRecord>& records() const { return records_; }
    // True while every recorded minute is in the file and the last write went through.
    bool saved() const { return !writeFailed_ && pending_.empty() && !rotationPending_; }
    // False when the file was there at start-up but could not be read.
    bool previousRead() const { return !unreadable_; }
    const std::string& path() const { return path_; }

    void setAnalysis(const AnalysisFigures& figures) { analysis_ = figures; }
    const AnalysisFigures& analysis() const { return analysis_; }

    // The open window, told of every new record; null while none is open.
    void attach(HistoryView* view) { view_ = view; }
    void detach(HistoryView* view) {
        if (view_ == view) view_ = nullptr;
    }
    HistoryView* view() const { return view_; }

private:
    void record(FileSystem& files, const MinuteRecord& minute);
    void writePending(FileSystem& files);
    bool rotate(FileSystem& files);
    // Writes the records to a new file and puts it in the old one's place in one step.
    bool rewrite(FileSystem& files);
    void dropBefore(int32_t minute);
    void refreshView();

    bool opened_ = false;
    std::string path_;
    std::string oldPath_;
    std::string tmpPath_;
    std::vector<MinuteRecord> records_;
    MinuteAggregator current_;
    std::string pending_;           // lines recorded but not yet in the file
    std::string oldPending_;        // the last lines of the history before a new one began
    bool needsHeader_ = false;      // the file is not there: the next write begins it
    bool needsLineEnd_ = false;     // a failed write may have left a line cut short
    bool rotationPending_ = false;  // a new history waits for the old file to move aside
    bool writeFailed_ = false;
    bool unreadable_ = false;
    AnalysisFigures analysis_;
    HistoryView* view_ = nullptr;
};

}  // namespace corvane
