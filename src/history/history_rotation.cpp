// A new history: both files move aside as the generation before, each onto a free name or
// replacing the previous generation in one step, the hours first. While they cannot move (a
// spreadsheet holds them), the new history lives in a file of its own, which also tells the
// next start that the move is still to be made; it moves in once the old files have gone.
#include <new>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_files.h"

namespace corvane {

using namespace history_files;

namespace {

// True when the first line of `path` names columns a line of ours would be misread through.
bool underOtherColumns(FileSystem& files, const std::string& path) {
    std::string head = files.readPart(path, 0, 4096);
    size_t lineEnd = head.find('\n');
    if (lineEnd == std::string::npos) return false;
    return parseHistory(head.substr(0, lineEnd + 1)).movedColumns;
}

}  // namespace

void History::startNew(FileSystem& files) {
    if (!opened_) return;
    // A new history asked for while the last one asked for has not begun in the files (its file
    // could not move aside yet) takes that one's place with the same single move: a second move
    // would push out the generation before it, which holds the user's records.
    const bool stillPending = rotationPending_;
    // The minute in progress closes the old history.
    int32_t firstMo = current_.firstMo();
    if (std::optional<MinuteRecord> finished = current_.finish()) {
        nameBusyPrograms(*finished, firstMo);
        pending_ += formatRecord(*finished);
        ++pendingLines_;
    }
    if (stillPending) {
        joinNewHistoryToOld(files, true);
    } else {
        writePending(files);
        // What the old file could not take yet goes to it just before it moves aside.
        oldPending_ += pending_;
        pending_.clear();
        pendingLines_ = 0;
        hoursRotated_ = false;
        minutesRotated_ = false;
    }
    leaveOldHistory();
    writePending(files);
    // Where the next start finds them, should this run end before the files can move.
    if (rotationPending_) keepWaiting(files);
    refreshView();
}

void History::leaveOldHistory() {
    minutes_.clear();
    hours_.clear();
    // Nothing of the new history is in the old files: they are not to be read into it.
    wholeRead_ = true;
    loadedFrom_ = kEveryMinute;
    fileOldest_ = kNoMinute;
    compactDue_ = false;
    columnsMoved_ = false;
    unreadable_ = false;
    rotationPending_ = true;
}

void History::takeNewHistory(FileSystem& files) {
    std::string bytes;
    // What cannot be read now stays in the file, which becomes the history as it is.
    readWhole(files, newHistoryPath_, bytes);
    newHistoryBegun_ = true;
    leaveOldHistory();
    minutes_ = parseHistory(bytes).records;
    tidyUp(minutes_);
}

bool History::joinNewHistoryToOld(FileSystem& files, bool withPending) {
    // The lines the last new history had are put with the old one's, on the disk before they
    // leave their file. Where that fails they stay, and the newest history follows them.
    std::string begun;
    // Where a read says it is gone, it is not deleted on that word, which may be wrong: a new
    // history begun there by a move that never replaces finds it.
    bool gone = false;
    try {
        begun = files.readFile(newHistoryPath_);
    } catch (const RuntimeError& error) {
        if (error.number() != kErrFileNotFound) return false;
        gone = true;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (gone && !withPending) {
        earlierNewHistory_ = false;
        return true;
    }
    if (waitingUnread_ && !takeWaitingLines(files)) return false;
    std::string lines;
    for (const MinuteRecord& r : parseHistory(begun).records) {
        std::string line = formatRecord(r);
        // Joined already by a try whose delete failed.
        if (oldPending_.find(line) == std::string::npos) lines += line;
    }
    if (withPending) lines += pending_;
    // Alone, an earlier run's lines need no room on a full disk: their file becomes what waits,
    // where nothing waits yet (a rename never replaces).
    if (!withPending && !lines.empty() && !waitingOnDisk_) {
        try {
            files.renameFile(newHistoryPath_, waitingPath_);
            waitingOnDisk_ = true;
            oldPending_ += lines;
            lines.clear();
        } catch (const RuntimeError&) {
        }
    }
    if (!lines.empty()) {
        if (!writeWaiting(files, [&] {
                std::string text(kHistoryHeader);
                text += kCrLf;
                text += oldPending_;
                text += lines;
                return text;
            })) {
            return false;
        }
        oldPending_ += lines;
    }
    if (withPending) {
        pending_.clear();
        pendingLines_ = 0;
    }
    try {
        if (!gone) files.deleteFile(newHistoryPath_);
    } catch (const RuntimeError& error) {
        if (error.number() != kErrFileNotFound) return false;
    }
    newHistoryBegun_ = false;
    earlierNewHistory_ = false;
    return true;
}

bool History::earlierNewHistoryJoined(FileSystem& files) {
    // There though this run never began it: its start could not look, or a read said it was gone.
    if (!newHistoryBegun_ && !earlierNewHistory_ && isThere(files, newHistoryPath_)) {
        earlierNewHistory_ = true;
    }
    return !earlierNewHistory_ || joinNewHistoryToOld(files, false);
}

bool History::moveAside(FileSystem& files, const std::string& from, const std::string& to) {
    // The previous generation is replaced in the same step that puts its successor in place,
    // never deleted before: a file that cannot move leaves both as they were.
    try {
        files.renameFile(from, to);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound) return true;
        if (error.number() != kErrFileExists) return false;
        try {
            files.replaceFile(from, to);
        } catch (const RuntimeError&) {
            return false;
        }
    }
    return true;
}

bool History::isThere(FileSystem& files, const std::string& path) {
    try {
        files.fileLength(path);
    } catch (const RuntimeError& error) {
        return error.number() != kErrFileNotFound;
    }
    return true;
}

bool History::writeOldLines(FileSystem& files) {
    try {
        // Where the file has moved aside already (a run that ended just after), they follow it.
        std::string target = path_;
        std::optional<std::string> prefix = freshLine(files, path_, cutIsOurs_);
        if (!prefix) {
            target = oldPath_;
            prefix = freshLine(files, oldPath_, true);
        }
        // Under a spreadsheet's columns (the rewrite under ours never came), the lines go under
        // a header of ours, which says how they read.
        const std::string header = std::string(kHistoryHeader) + std::string(kCrLf);
        if (prefix && underOtherColumns(files, target)) *prefix += header;
        files.appendText(target, prefix.value_or(header) + oldPending_);
    } catch (const RuntimeError& error) {
        if (mayHaveWrittenPart(error)) {
            needsLineEnd_ = true;
            cutIsOurs_ = true;
        }
        return false;
    }
    oldPending_.clear();
    cutIsOurs_ = false;
    // What waited beside the file is in it now: read again, it would be written twice.
    if (waitingOnDisk_) {
        try {
            files.deleteFile(waitingPath_);
            waitingOnDisk_ = false;
        } catch (const RuntimeError& error) {
            if (error.number() == kErrFileNotFound) waitingOnDisk_ = false;
        }
    }
    return true;
}

bool History::rotate(FileSystem& files) {
    // What an earlier run left waiting and no read took in yet is the old history's: moved
    // first, it would be taken into the new one at the next start.
    if (waitingUnread_ && !takeWaitingLines(files)) return false;
    // Moved in, an earlier run's new history would bring the minutes the user let go of since.
    if (!earlierNewHistoryJoined(files)) return false;
    // Never moved while lines of it are unwritten (a full disk): moved first, they would have
    // nowhere to go but the new history.
    if (!oldPending_.empty() && !writeOldLines(files)) return false;
    // The hours are the older part: they move first, so that the minutes never go without them.
    if (!hoursRotated_) {
        if (!moveAside(files, hourPath_, hourOldPath_)) return false;
        hoursRotated_ = true;
    }
    if (!minutesRotated_) {
        if (!moveAside(files, path_, oldPath_)) return false;
        minutesRotated_ = true;
    }
    // The new history's own file moves in by a rename, which never replaces; where none was
    // begun (a full disk), the file is begun as any new one.
    bool movedIn = false;
    if (newHistoryBegun_) {
        try {
            files.renameFile(newHistoryPath_, path_);
            movedIn = true;
        } catch (const RuntimeError& error) {
            // Gone only where a second look agrees: left behind, it would be taken by the next
            // start for a move still to make, and push out the generation before.
            if (error.number() != kErrFileNotFound || isThere(files, newHistoryPath_)) return false;
        }
    }
    newHistoryBegun_ = false;
    needsHeader_ = !movedIn;
    beginsNewHistory_ = !movedIn;
    rotationPending_ = false;
    minutesRotated_ = false;
    keepFileAsIs_ = false;
    needsLineEnd_ = false;
    cutIsOurs_ = false;
    return true;
}

}  // namespace corvane
