// A new history: both files move aside as the generation before, each onto a free name or
// replacing the previous generation in one step, the hours first.
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_files.h"

namespace corvane {

using namespace history_files;

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
    }
    if (!stillPending) writePending(files);
    // What the old file could not take yet goes to it just before it moves aside.
    oldPending_ += pending_;
    pending_.clear();
    minutes_.clear();
    hours_.clear();
    // Nothing of the new history is in the files: they are not to be read into it.
    wholeRead_ = true;
    loadedFrom_ = kEveryMinute;
    fileOldest_ = kNoMinute;
    compactDue_ = false;
    unreadable_ = false;
    rotationPending_ = true;
    if (!stillPending) hoursRotated_ = false;
    writePending(files);
    refreshView();
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

bool History::rotate(FileSystem& files) {
    if (!oldPending_.empty()) {
        try {
            files.appendText(path_,
                             (needsLineEnd_ ? freshLine(files).value_or("") : "") + oldPending_);
            oldPending_.clear();
            needsLineEnd_ = false;
        } catch (const RuntimeError& error) {
            // Still held: the move below decides whether the new history may begin.
            if (mayHaveWrittenPart(error)) {
                needsLineEnd_ = true;
                cutIsOurs_ = true;
            }
        }
    }
    // The hours are the older part: they move first, so that the minutes never go without them.
    if (!hoursRotated_) {
        if (!moveAside(files, hourPath_, hourOldPath_)) return false;
        hoursRotated_ = true;
    }
    if (!moveAside(files, path_, oldPath_)) return false;
    rotationPending_ = false;
    keepFileAsIs_ = false;
    oldPending_.clear();
    needsHeader_ = true;
    needsLineEnd_ = false;
    return true;
}

}  // namespace corvane
