// The swap file's history over days and months: minutes for the recent weeks in "Corvane.csv",
// hours beyond them in "Corvane-heures.csv", both beside the journal, and the window that may
// be watching them. Start-up reads only the end of the minutes; the rest is read when a view
// or the export asks for it.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
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
    // How long hours are kept, counted back from the newest record.
    static constexpr int32_t kKeptDays = 400;
    static constexpr int32_t kKeptMinutes = kKeptDays * 1440;
    // How long minutes are kept before they live on as hours.
    static constexpr int32_t kMinuteDays = 31;
    // What start-up reads of the minutes: the end of the file, a day and more of lines with
    // the commit (about 56 bytes each, more at the minutes that name programs).
    static constexpr uint32_t kTailBytes = 128 * 1024;

    // A record goes once it is more than `keptMinutes` older than the newest record and at
    // least `keptMinutes` minutes' worth of records follow it: a clock set ahead adds only the
    // few records made while it was wrong, so it cannot push the history out. Minutes older
    // than `minuteSpan` before the newest are folded into hours, never dropped.
    History() = default;
    explicit History(int32_t keptMinutes, int32_t minuteSpan = kMinuteDays * 1440)
        : kept_(keptMinutes), minuteSpan_(minuteSpan) {}

    // Reads the end of the history in `programDirectory` (which ends with "\"). A file small
    // enough to be read whole is compacted at once when it needs it; a larger one at its first
    // new minute. Before any line that is not in this program's form is rewritten, the file as
    // it was is kept beside it (backupPath()). Minutes an earlier run could not write wait in
    // waitingPath() and go to the file first. `utcNow` is the present: no record it places in
    // the future decides what is folded into hours. Never raises.
    void open(FileSystem& files, const std::string& programDirectory, const DateTime& utcNow);
    bool isOpen() const { return opened_; }

    // One sample. When it begins a new minute, the minute before is recorded and appended to
    // the file. Never raises: what cannot be written waits in memory and goes with the next
    // minute that can be.
    void addSample(FileSystem& files, const HistorySample& sample);
    // The programs holding the most commit at the last scan of the processes, at `minute`
    // (largest first, at most three): a minute that ends with the swap file grown, or with the
    // commit past nine tenths of its limit, names them, if they were seen within it or the
    // minute before. `capped`: one of them has its commit read through a 32-bit field (see
    // ProcessCommit).
    void notePrograms(int32_t minute, std::vector<ProgramMark> programs, bool capped = false);
    // A minute of this session named a program whose commit was read through a 32-bit field:
    // the window says so.
    bool cappedCommit() const { return cappedCommit_; }
    // An alert raised at `minute`: its record carries the mark.
    void markAlert(int32_t minute, AlertMark mark);
    // Records the minute in progress and writes what waits, as the program ends. What the file
    // cannot take (held by another program) is kept in waitingPath() for the next start.
    void close(FileSystem& files);
    // Starts a new history; the files become the rotated ones (one generation is kept). While
    // they cannot move (held by another program), the new history is kept in
    // newHistoryPath(), which the next start finds and moves in once they have moved.
    void startNew(FileSystem& files);
    // Writes every record kept to `target`: hours where there are no minutes, then minutes, a
    // first column saying which. Raises RuntimeError when it cannot, or when `target` is one of
    // the history's own files.
    void exportTo(FileSystem& files, const std::string& target);
    // True when `path` names one of the files the history keeps (under any name).
    bool isOwnFile(FileSystem& files, const std::string& path) const;

    // Makes sure every record from `minute` on is in memory, reading the files when it is not:
    // minutes as far back as they go, hours before them. Never raises.
    void load(FileSystem& files, int32_t minute);
    // The minutes in memory, oldest first.
    const std::vector<MinuteRecord>& records() const { return minutes_; }
    // The hours before the first minute in memory, oldest first; empty until load() reached
    // back past the minutes.
    const std::vector<MinuteRecord>& hours() const { return hours_; }
    // Every record from this minute on is in memory.
    int32_t loadedFrom() const { return loadedFrom_; }

    // A new history was asked for and the old files have not moved aside yet.
    bool newHistoryWaiting() const { return rotationPending_; }
    // True while every recorded minute is in the file and the last write went through.
    bool saved() const { return !writeFailed_ && pending_.empty() && !rotationPending_; }
    // False when the file was there at start-up but could not be read.
    bool previousRead() const { return !unreadable_; }
    const std::string& path() const { return path_; }
    const std::string& hourPath() const { return hourPath_; }
    const std::string& oldPath() const { return oldPath_; }
    const std::string& waitingPath() const { return waitingPath_; }
    const std::string& newHistoryPath() const { return newHistoryPath_; }
    // Lines of the files that could not be read as records, or were read from another form.
    int64_t unreadLines() const { return leftLines_ + takenBackLines_; }
    // Of those, the records read from another form (a spreadsheet's), and the lines left
    // only in the copy (backupPath()) or in the file left as it is.
    int64_t takenBackLines() const { return takenBackLines_; }
    int64_t leftLines() const { return leftLines_; }
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
    void record(FileSystem& files, MinuteRecord minute, int32_t firstMo);
    // Names the programs last noted in a minute worth it (see notePrograms).
    void nameBusyPrograms(MinuteRecord& minute, int32_t firstMo);
    void writePending(FileSystem& files);
    bool rotate(FileSystem& files);
    // The old history's last lines, into its file before it moves aside.
    bool writeOldLines(FileSystem& files);
    // Memory holds the new history alone from here on, until the old files have moved aside.
    void leaveOldHistory();
    // At start-up: the new history an earlier run began while the files could not move.
    void takeNewHistory(FileSystem& files);
    // A new history asked for again before the last one began: that one's lines join the old,
    // with what waits in memory when `withPending`. True once its file is gone.
    bool joinNewHistoryToOld(FileSystem& files, bool withPending);
    // True once no earlier run's new history is left in newHistoryPath(): its lines have joined
    // the old history's.
    bool earlierNewHistoryJoined(FileSystem& files);
    // What waits of a new history that has not begun, appended to its own file.
    void keepNewHistory(FileSystem& files);
    bool moveAside(FileSystem& files, const std::string& from, const std::string& to);
    // False only where the file reads as not there.
    static bool isThere(FileSystem& files, const std::string& path);
    // Reads both files whole, folds the minutes beyond their span into hours, lets go of the
    // hours beyond the kept span, and writes both back when anything changed: the hours first,
    // so that no minute goes before its hour is in place.
    void compact(FileSystem& files);
    bool replaceWith(FileSystem& files, const std::string& path, const std::string& bytes);
    // Keeps a file's bytes under a backup name: one already holding them (the file has only
    // had this program's lines appended since), else one not taken yet. Sets keepFileAsIs_
    // when every name holds another content.
    bool backUp(FileSystem& files, const std::string& path, const std::string& bytes,
                std::string_view header);
    // Lets the hours go that the keeping rule lets go.
    void dropExpired(std::vector<MinuteRecord>& hours) const;
    // Moves the minutes beyond their span out of memory (into the hours, once those are read).
    void ageOut();
    int32_t newest() const;
    // The newest record the present clock does not place in the future: what the spans count
    // back from.
    int32_t reference(int32_t newestMinute) const;
    // Reads the end of the minutes' file (and its first line's minute); false when it is there
    // but cannot be read.
    bool readStart(FileSystem& files);
    // The minutes an earlier run left waiting beside the file, taken into what waits now.
    void takeWaiting(FileSystem& files);
    // Reads them in; false where the file is there and cannot be read.
    bool takeWaitingLines(FileSystem& files);
    // What waits, kept where the next start finds it.
    void keepWaiting(FileSystem& files);
    // Puts `text` (built again should the file's own lines join what waits) in the waiting file;
    // false where it is not there.
    bool writeWaiting(FileSystem& files, const std::function<std::string()>& text);
    // Adds a record's line to what waits for the file: at most a day's worth, or the minutes'
    // span when it is longer, the oldest going first.
    void wait(const MinuteRecord& record);
    // The bytes that put the next append to `path` on a line of its own: nothing when the file
    // already ends with a line end, else a line end, after a mark when the cut line is this
    // program's (`ours`, or it reads like one). None where the file reads as not there.
    std::optional<std::string> freshLine(FileSystem& files, const std::string& path,
                                         bool ours) const;
    // Puts a file of the header alone in place of a history that is not there. False where
    // that failed, or where the file is there after all (a read said it was gone): it is then
    // left as it is, to be read again, and nothing is written before its end is known.
    bool beginFile(FileSystem& files);
    // The start-up read failed: it is tried again later in the run, less often each time.
    void readAgainLater();
    std::string newFilePath() const { return path_ + ".nouveau"; }
    // Puts back a file that a replace by renames had moved aside when it was cut short.
    static void putBackAside(FileSystem& files, const std::string& path);
    // The first minute kept as a minute when `newestMinute` is the newest: an hour's start.
    int32_t minuteCut(int32_t newestMinute) const;
    bool fileHoldsTooMuch() const;
    void refreshView();

    int32_t kept_ = kKeptMinutes;
    int32_t minuteSpan_ = kMinuteDays * 1440;
    bool opened_ = false;
    std::string path_;
    std::string oldPath_;
    std::string tmpPath_;
    std::string hourPath_;
    std::string hourOldPath_;
    std::string waitingPath_;
    std::string newHistoryPath_;
    std::vector<MinuteRecord> minutes_;
    std::vector<MinuteRecord> hours_;
    int32_t loadedFrom_ = 0;
    bool wholeRead_ = false;   // both files are in memory, up to the minutes' span
    bool wholeStart_ = false;  // start-up read the minutes' file whole
    int32_t fileOldest_ = 0;   // the first minute of the file, as its first line says
    bool compactDue_ = false;  // the file holds more than it should, or is not tidy
    // The file's first line puts our columns elsewhere than a line of ours has them: nothing is
    // appended, which its names would misread, before it is rewritten under our header.
    bool columnsMoved_ = false;
    int32_t nextCompact_ = std::numeric_limits<int32_t>::min();
    int32_t now_ = std::numeric_limits<int32_t>::max();  // the present clock's minute
    int32_t nextRead_ = 0;   // when the start-up read that failed is tried again
    int32_t readDelay_ = 1;  // minutes until then, doubled at each failure up to an hour
    MinuteAggregator current_;
    std::vector<ProgramMark> programs_;  // the last noted, and when
    int32_t programsMinute_ = 0;
    bool programsCapped_ = false;  // one of programs_ has its commit capped
    bool cappedCommit_ = false;
    std::string pending_;         // lines recorded but not yet in the file
    std::string oldPending_;      // the last lines of the history before a new one began
    bool needsHeader_ = false;    // the file is not there: the next write begins it
    bool needsLineEnd_ = false;   // a failed write may have left a line cut short
    bool cutIsOurs_ = false;      // that line is this program's, not a user's
    bool waitingOnDisk_ = false;  // waitingPath() holds minutes the file does not have yet
    bool waitingUnread_ = false;  // waitingPath() may hold minutes no read has taken in yet
    size_t pendingLines_ = 0;
    bool rotationPending_ = false;  // a new history waits for the old files to move aside
    bool hoursRotated_ = false;     // the hours have moved aside already
    bool minutesRotated_ = false;   // and the minutes too
    bool newHistoryBegun_ = false;  // newHistoryPath() may be there: it is to be moved in
    // newHistoryPath() may hold a new history an earlier run began, which this one went on
    // without (its start could not look, or a read said it was gone): its lines are the old
    // history's.
    bool earlierNewHistory_ = false;
    bool beginsNewHistory_ = false;  // the file begun next is a new history's, the old one gone
    bool writeFailed_ = false;
    bool unreadable_ = false;
    int readError_ = 0;          // why the files could not be read for a view, the last time
    bool keepFileAsIs_ = false;  // it holds lines not understood and no name is left for a copy
    int64_t takenBackLines_ = 0;
    int64_t leftLines_ = 0;
    std::string backupPath_;
    AnalysisFigures analysis_;
    HistoryView* view_ = nullptr;
};

}  // namespace corvane
