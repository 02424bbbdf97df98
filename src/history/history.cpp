// Recording the minutes, the file beside the journal, its compaction and its rotation.
#include "history/history.h"

#include <algorithm>
#include <exception>

#include "history/history_csv.h"
#include "history/utc_minutes.h"

namespace corvane {

namespace {

constexpr int32_t kKeptMinutes = History::kKeptDays * kMinutesPerDay;
// While the program runs, the oldest day is let go only once it is a day past the limit, so
// that the file is rewritten once a day at most.
constexpr int32_t kTrimSlack = kMinutesPerDay;

bool earlier(const MinuteRecord& a, const MinuteRecord& b) {
    return a.minute < b.minute;
}

// Whether a failed append may have left part of its text in the file. A file that could not
// be opened (held elsewhere, no access, no such folder) has nothing of it.
bool mayHaveWrittenPart(const RuntimeError& error) {
    switch (error.number()) {
        case kErrPermissionDenied:
        case kErrPathFileAccess:
        case kErrPathNotFound:
        case kErrFileNotFound:
        case kErrBadFileName: return false;
        default: return true;
    }
}

}  // namespace

void History::open(FileSystem& files, const std::string& programDirectory, const DateTime& utcNow) {
    opened_ = true;
    path_ = programDirectory + "Corvane.csv";
    oldPath_ = path_ + ".old";
    tmpPath_ = path_ + ".tmp";

    ParsedHistory parsed;
    try {
        std::string bytes = files.readFile(path_);
        parsed = parseHistory(bytes);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound) {
            // The new file gets its header at once: a folder that cannot be written is known
            // before the first minute is lost to it.
            needsHeader_ = true;
            writePending(files);
        } else {
            unreadable_ = true;
        }
        return;
    } catch (const std::bad_alloc&) {
        // Far larger than anything this program writes: leave it alone.
        unreadable_ = true;
        return;
    }
    records_ = std::move(parsed.records);
    if (!parsed.inOrder) {
        // The clock was put back at some time: draw and keep the minutes in time order.
        std::stable_sort(records_.begin(), records_.end(), earlier);
        records_.erase(std::unique(records_.begin(), records_.end()), records_.end());
    }
    size_t before = records_.size();
    if (std::optional<int32_t> now = minuteOf(utcNow)) dropBefore(*now - kKeptMinutes);
    bool dropped = records_.size() != before;
    if (parsed.tidy() && !dropped) return;
    // A failed rewrite leaves the old file whole; the next line must then not join a cut one.
    if (!rewrite(files)) needsLineEnd_ = !parsed.endsWithLineEnd;
}

void History::addSample(FileSystem& files, const HistorySample& sample) {
    if (!opened_) return;
    if (std::optional<MinuteRecord> finished = current_.add(sample)) record(files, *finished);
}

void History::close(FileSystem& files) {
    if (!opened_) return;
    if (std::optional<MinuteRecord> finished = current_.finish()) {
        record(files, *finished);
    } else if (!saved()) {
        writePending(files);
    }
}

void History::startNew(FileSystem& files) {
    if (!opened_) return;
    // The minute in progress closes the old history.
    if (std::optional<MinuteRecord> finished = current_.finish())
        pending_ += formatRecord(*finished);
    writePending(files);
    // What the old file could not take yet goes to it just before it moves aside.
    oldPending_ += pending_;
    pending_.clear();
    records_.clear();
    unreadable_ = false;
    rotationPending_ = true;
    writePending(files);
    refreshView();
}

void History::exportTo(FileSystem& files, const std::string& target) {
    if (saved() && !unreadable_) {
        try {
            files.copyFile(path_, target);
            return;
        } catch (const RuntimeError& error) {
            // No minute has been written yet: the copy is a file with its header alone.
            if (error.number() != kErrFileNotFound) throw;
        }
    }
    // The file lacks what waits in memory: the copy is written from memory.
    files.writeFile(target, historyText(records_));
}

void History::record(FileSystem& files, const MinuteRecord& minute) {
    if (records_.empty() || records_.back().minute <= minute.minute) {
        records_.push_back(minute);
    } else {
        records_.insert(std::upper_bound(records_.begin(), records_.end(), minute, earlier),
                        minute);
    }
    pending_ += formatRecord(minute);
    writePending(files);
    if (records_.front().minute < minute.minute - kKeptMinutes - kTrimSlack) {
        dropBefore(minute.minute - kKeptMinutes);
        // Only a file that holds what memory holds may be rewritten from memory.
        if (saved() && !unreadable_) rewrite(files);
    }
    refreshView();
}

void History::writePending(FileSystem& files) {
    if (rotationPending_ && !rotate(files)) {
        writeFailed_ = true;
        return;
    }
    try {
        std::string prefix;
        if (needsLineEnd_) prefix += kCrLf;
        if (needsHeader_) {
            prefix += kHistoryHeader;
            prefix += kCrLf;
        }
        if (!prefix.empty()) {
            files.appendText(path_, prefix);
            needsLineEnd_ = false;
            needsHeader_ = false;
        }
        if (!pending_.empty()) files.appendText(path_, pending_);
        pending_.clear();
        writeFailed_ = false;
    } catch (const RuntimeError& error) {
        // Where part of the text may be in the file, the next write starts on a line of its own.
        if (mayHaveWrittenPart(error)) needsLineEnd_ = true;
        writeFailed_ = true;
    }
}

bool History::rotate(FileSystem& files) {
    if (!oldPending_.empty()) {
        try {
            files.appendText(path_, (needsLineEnd_ ? std::string(kCrLf) : "") + oldPending_);
            oldPending_.clear();
            needsLineEnd_ = false;
        } catch (const RuntimeError& error) {
            // Still held: the move below decides whether the new history may begin.
            if (mayHaveWrittenPart(error)) needsLineEnd_ = true;
        }
    }
    try {
        files.deleteFile(oldPath_);
    } catch (const RuntimeError&) {
        // None yet, or it cannot go: the rename says which.
    }
    try {
        files.renameFile(path_, oldPath_);
    } catch (const RuntimeError& error) {
        if (error.number() != kErrFileNotFound) return false;
    }
    rotationPending_ = false;
    oldPending_.clear();
    needsHeader_ = true;
    needsLineEnd_ = false;
    return true;
}

bool History::rewrite(FileSystem& files) {
    try {
        files.writeFile(tmpPath_, historyText(records_));
        files.replaceFile(tmpPath_, path_);
    } catch (const std::exception&) {
        try {
            files.deleteFile(tmpPath_);
        } catch (const RuntimeError&) {
        }
        return false;
    }
    needsHeader_ = false;
    needsLineEnd_ = false;
    return true;
}

void History::dropBefore(int32_t minute) {
    auto keep = std::lower_bound(records_.begin(), records_.end(), MinuteRecord{minute}, earlier);
    records_.erase(records_.begin(), keep);
}

void History::refreshView() {
    if (view_) view_->refresh();
}

}  // namespace corvane
