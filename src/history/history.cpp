// Recording the minutes, the file beside the journal, its compaction and its rotation.
#include "history/history.h"

#include <algorithm>
#include <exception>

#include "history/history_csv.h"
#include "history/utc_minutes.h"

namespace corvane {

namespace {

// Names tried, in order, for the copy of a file about to be compacted: none is ever replaced.
constexpr const char* kBackupSuffixes[] = {".bak",  ".bak2", ".bak3", ".bak4", ".bak5",
                                           ".bak6", ".bak7", ".bak8", ".bak9"};

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
    std::string bytes;
    try {
        bytes = files.readFile(path_);
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
    (void)utcNow;  // a clock set ahead or back must not decide what goes
    bool dropped = dropExpired();
    unreadLines_ = parsed.skippedLines + parsed.resavedLines;
    if (parsed.tidy() && !dropped) return;
    // The next line appended to a file left as it was must not join a cut one.
    needsLineEnd_ = !parsed.endsWithLineEnd;
    if (!parsed.understood() && !backUp(files, bytes)) {
        // What could not be read is not destroyed without a copy: the file stays as it was,
        // and the new minutes are appended to it.
        keepFileAsIs_ = true;
        return;
    }
    // A failed rewrite leaves the old file whole.
    rewrite(files);
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

bool History::isOwnFile(FileSystem& files, const std::string& path) const {
    for (const std::string* own : {&path_, &oldPath_, &tmpPath_, &backupPath_}) {
        if (!own->empty() && files.sameFile(path, *own)) return true;
    }
    return false;
}

void History::exportTo(FileSystem& files, const std::string& target) {
    // Written from memory over the file itself, the copy would replace what memory lacks.
    if (isOwnFile(files, target)) throw RuntimeError(kErrFileExists);
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
    // The oldest records are let go a day's worth at a time, so that the file is rewritten
    // once a day at most.
    size_t slack = static_cast<size_t>(std::max(1, kept_ / 400));
    if (records_.size() > static_cast<size_t>(kept_) + slack && dropExpired()) {
        // Only a file that holds what memory holds may be rewritten from memory.
        if (saved() && !unreadable_ && !keepFileAsIs_) rewrite(files);
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
    // The previous generation is replaced in the same step that puts its successor in place,
    // never deleted before: a file that cannot move leaves both as they were.
    try {
        files.renameFile(path_, oldPath_);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileExists) {
            try {
                files.replaceFile(path_, oldPath_);
            } catch (const RuntimeError&) {
                return false;
            }
        } else if (error.number() != kErrFileNotFound) {
            return false;
        }
    }
    rotationPending_ = false;
    keepFileAsIs_ = false;
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

bool History::backUp(FileSystem& files, const std::string& bytes) {
    std::string copy = path_ + ".bak.tmp";
    try {
        files.writeFile(copy, bytes);
        for (const char* suffix : kBackupSuffixes) {
            try {
                // A move, not a copy over: a backup made at an earlier start stays.
                files.renameFile(copy, path_ + suffix);
                backupPath_ = path_ + suffix;
                return true;
            } catch (const RuntimeError& error) {
                if (error.number() != kErrFileExists) throw;
            }
        }
    } catch (const RuntimeError&) {
    }
    try {
        files.deleteFile(copy);
    } catch (const RuntimeError&) {
    }
    return false;
}

bool History::dropExpired() {
    if (records_.size() <= static_cast<size_t>(kept_)) return false;
    size_t followedByEnough = records_.size() - static_cast<size_t>(kept_);
    int32_t limit = records_.back().minute - kept_;
    size_t olderThanLimit = static_cast<size_t>(
        std::lower_bound(records_.begin(), records_.end(), MinuteRecord{limit}, earlier) -
        records_.begin());
    size_t count = std::min(followedByEnough, olderThanLimit);
    records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(count));
    return count > 0;
}

void History::refreshView() {
    if (view_) view_->refresh();
}

}  // namespace corvane
