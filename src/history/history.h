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
    // How long records are kept, counted back from the newest record.
    static constexpr int32_t kKeptDays = 400;
    static constexpr int32_t kKeptMinutes = kKeptDays * 1440;

    // A record goes once it is more than `keptMinutes` older than the newest record and at
    // least `keptMinutes` records follow it: a clock set ahead adds only the few minutes
    // recorded while it was wrong, so it cannot push the history out.
    History() = default;
    explicit History(int32_t keptMinutes) : kept_(keptMinutes) {}

    // Reads the history in `programDirectory` (which ends with "\") and compacts the file when
    // it holds records too old, lines out of order or repeated, or lines that are not in this
    // program's form; before any of those is rewritten, the file as it was is kept beside it
    // (backupPath()). `utcNow` is not used to let records go. Never raises.
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
    // Writes a copy of the history to `target`; raises RuntimeError when it cannot, or when
    // `target` is one of the history's own files.
    void exportTo(FileSystem& files, const std::string& target);
    // True when `path` names one of the files the history keeps (under any name).
    bool isOwnFile(FileSystem& files, const std::string& path) const;

    // Every record, oldest first.
    const std::vector<MinuteRecord>& records() const { return records_; }
    // True while every recorded minute is in the file and the last write went through.
    bool saved() const { return !writeFailed_ && pending_.empty() && !rotationPending_; }
    // False when the file was there at start-up but could not be read.
    bool previousRead() const { return !unreadable_; }
    const std::string& path() const { return path_; }
    const std::string& oldPath() const { return oldPath_; }
    // Lines of the file that could not be read as records, or were read from another form.
    int64_t unreadLines() const { return unreadLines_; }
    // Where the file as it was before its compaction is kept; empty when it was not copied
    // (nothing to keep, or the copy failed and the file was left as it was).
    const std::string& backupPath() const { return backupPath_; }

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
    // Copies the file's bytes to a backup name that is not taken yet.
    bool backUp(FileSystem& files, const std::string& bytes);
    // Lets the records go that the keeping rule lets go; true when any went.
    bool dropExpired();
    void refreshView();

    int32_t kept_ = kKeptMinutes;
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
    bool keepFileAsIs_ = false;  // it holds lines not understood and no copy of them was made
    int64_t unreadLines_ = 0;
    std::string backupPath_;
    AnalysisFigures analysis_;
    HistoryView* view_ = nullptr;
};

}  // namespace corvane
