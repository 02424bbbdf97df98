// The minutes waiting for the file: appended once it takes them, on a line of their own after
// a line cut short, bounded in memory, and kept beside the file for the next start when the
// program ends while the file is held.
#include <algorithm>
#include <functional>
#include <string_view>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_files.h"
#include "platform/write_aside.h"

namespace corvane {

using namespace history_files;

namespace {

// The fewest minutes kept waiting in memory while the file cannot take them: a day, or the
// minutes' span when it is longer. Beyond it the oldest go, which a folder that can never be
// written would lose anyway, and memory stays bounded.
constexpr size_t kFewestWaitingLines = 1440;

}  // namespace

void History::takeWaiting(FileSystem& files) {
    takeWaitingLines(files);
    if (rotationPending_) takeNewHistory(files);
    if (waitingOnDisk_ || rotationPending_) writePending(files);
}

bool History::takeWaitingLines(FileSystem& files) {
    std::string bytes;
    // Held for a moment: read again before a new history begins or the file is written over.
    waitingUnread_ = !readWhole(files, waitingPath_, bytes);
    if (!waitingUnread_ && !bytes.empty()) {
        waitingOnDisk_ = true;
        for (const MinuteRecord& r : parseHistory(bytes).records) {
            auto same = from(minutes_, r.minute);
            bool known = false;
            for (; same != minutes_.end() && same->minute == r.minute; ++same) known |= *same == r;
            // Written by a run that ended before it could let go of the copy.
            if (known) continue;
            // While a new history waits to begin, what waited is the old one's last lines.
            if (rotationPending_) {
                oldPending_ += formatRecord(r);
                continue;
            }
            minutes_.insert(same, r);
            pending_ += formatRecord(r);
            ++pendingLines_;
        }
    }
    return !waitingUnread_;
}

void History::keepWaiting(FileSystem& files) {
    // A new history that has not begun keeps its lines in its own file: what waits beside the
    // history is then the old one's last lines alone, which the next start appends to it.
    if (rotationPending_) keepNewHistory(files);
    // Written over unread, it would lose an earlier run's minutes; read, they join what waits.
    if (waitingUnread_ && !takeWaitingLines(files)) return;
    if (oldPending_.empty() && (rotationPending_ || pending_.empty())) return;
    writeWaiting(files, [&] {
        std::string text(kHistoryHeader);
        text += kCrLf;
        text += oldPending_;
        if (!rotationPending_) text += pending_;
        return text;
    });
}

bool History::writeWaiting(FileSystem& files, const std::function<std::string()>& text) {
    // Where no file of ours is known there, it is begun by a move that never replaces: a read
    // may have said it was gone while it was, and written over, its minutes would go.
    if (!waitingOnDisk_) {
        const std::string begun = waitingPath_ + ".tmp";
        try {
            writeAside(files, begun, text(), [&] { files.renameFile(begun, waitingPath_); });
            waitingOnDisk_ = true;
            return true;
        } catch (const RuntimeError& error) {
            if (error.number() != kErrFileExists) return false;
        }
        // There after all: its lines join what waits first, once a read finds it too.
        try {
            files.fileLength(waitingPath_);
        } catch (const RuntimeError&) {
            return false;
        }
        if (!takeWaitingLines(files)) return false;
    }
    if (!replaceWith(files, waitingPath_, text())) return false;
    waitingOnDisk_ = true;
    return true;
}

void History::keepNewHistory(FileSystem& files) {
    // Appended after an earlier run's new history, the new one would take its lines in: they
    // join the old first, and until they can, what waits stays in memory.
    if (!earlierNewHistoryJoined(files)) return;
    try {
        std::optional<std::string> prefix = freshLine(files, newHistoryPath_, true);
        // Begun at once, even empty: it is what tells the next start that the files move.
        if (prefix && pending_.empty()) return;
        if (!prefix && !newHistoryBegun_) {
            // Begun by a move that never replaces: one there that a read said was gone is an
            // earlier run's, whose lines join the old first (tried once more at once).
            for (int tries = 0; tries < 2; ++tries) {
                const std::string begun = newHistoryPath_ + ".tmp";
                try {
                    writeAside(files, begun,
                               std::string(kHistoryHeader) + std::string(kCrLf) + pending_,
                               [&] { files.renameFile(begun, newHistoryPath_); });
                    newHistoryBegun_ = true;
                    pending_.clear();
                    pendingLines_ = 0;
                    return;
                } catch (const RuntimeError& error) {
                    if (error.number() != kErrFileExists) return;
                    earlierNewHistory_ = true;
                }
                if (!earlierNewHistoryJoined(files)) return;
            }
            return;
        }
        // There from now on, even where the append fails: part of it may be.
        newHistoryBegun_ = true;
        files.appendText(
            newHistoryPath_,
            prefix.value_or(std::string(kHistoryHeader) + std::string(kCrLf)) + pending_);
        pending_.clear();
        pendingLines_ = 0;
    } catch (const RuntimeError&) {
        // Waits in memory, for the next minute or the exit.
    }
}

void History::wait(const MinuteRecord& record) {
    pending_ += formatRecord(record);
    ++pendingLines_;
    size_t most = std::max(kFewestWaitingLines, static_cast<size_t>(std::max(0, minuteSpan_)));
    while (pendingLines_ > most) {
        pending_.erase(0, pending_.find('\n') + 1);
        --pendingLines_;
    }
}

void History::writePending(FileSystem& files) {
    if (rotationPending_ && !rotate(files)) {
        keepNewHistory(files);
        writeFailed_ = true;
        return;
    }
    // Under a header that names other columns, a line of ours would be read through them: the
    // minutes wait for the rewrite under ours, which takes them in. A file that cannot have its
    // copy kept is never rewritten: it goes on as it is.
    if (columnsMoved_ && !keepFileAsIs_) return;
    try {
        std::optional<std::string> prefix;
        // Looked at before every append, not only after a write of ours failed: a note the
        // user typed at the end without a final Enter would take the next minute into it.
        if (!needsHeader_ && (needsLineEnd_ || !pending_.empty())) {
            prefix = freshLine(files, path_, cutIsOurs_);
            // Gone, or a read only says so: begun anew, as a file that is not there is.
            if (!prefix) needsHeader_ = true;
        }
        if (needsHeader_ && !beginFile(files)) {
            writeFailed_ = true;
            return;
        }
        std::string text = prefix.value_or("") + pending_;
        if (!text.empty()) files.appendText(path_, text);
        needsLineEnd_ = false;
        cutIsOurs_ = false;
        pending_.clear();
        pendingLines_ = 0;
        writeFailed_ = false;
    } catch (const RuntimeError& error) {
        // Where part of the text may be in the file, the next write starts on a line of its own.
        if (mayHaveWrittenPart(error)) {
            needsLineEnd_ = true;
            cutIsOurs_ = true;
        }
        writeFailed_ = true;
        return;
    }
    if (waitingOnDisk_ && oldPending_.empty()) {
        try {
            files.deleteFile(waitingPath_);
            waitingOnDisk_ = false;
        } catch (const RuntimeError& error) {
            if (error.number() == kErrFileNotFound) waitingOnDisk_ = false;
        }
    }
}

bool History::beginFile(FileSystem& files) {
    // Moved in by a rename, which never replaces: appended to, a file a read only said was
    // gone would get a second header, joined to a line of its own cut short.
    const std::string begun = newFilePath();
    try {
        files.writeFile(begun, std::string(kHistoryHeader) + std::string(kCrLf));
        files.renameFile(begun, path_);
        needsHeader_ = false;
        columnsMoved_ = false;
        needsLineEnd_ = false;
        beginsNewHistory_ = false;
        return true;
    } catch (const RuntimeError& error) {
        try {
            files.deleteFile(begun);
        } catch (const RuntimeError&) {
        }
        if (error.number() == kErrFileExists && beginsNewHistory_) {
            // The old history, which a move said was gone: it still has to move aside.
            beginsNewHistory_ = false;
            needsHeader_ = false;
            rotationPending_ = true;
            minutesRotated_ = false;
        } else if (error.number() == kErrFileExists) {
            // There after all: read again later; until then its end is looked at first.
            needsHeader_ = false;
            needsLineEnd_ = true;
            if (!wholeRead_) readAgainLater();
        }
        return false;
    }
}

std::optional<std::string> History::freshLine(FileSystem& files, const std::string& path,
                                              bool ours) const {
    constexpr uint32_t kLastBytes = 512;
    std::string last;
    try {
        uint64_t length = files.fileLength(path);
        if (length == 0) return std::string();
        uint64_t from = length > kLastBytes ? length - kLastBytes : 0;
        last = files.readPart(path, from, kLastBytes);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound) return std::nullopt;
        // An end that cannot be read is not written after: a plain line end could make a
        // record of a cut line of ours, a mark could cut a user's. The minutes wait.
        throw RuntimeError(kErrPermissionDenied);
    }
    if (!last.empty() && last.back() == '\n') return std::string();
    size_t lineStart = last.rfind('\n');
    std::string_view cut =
        std::string_view(last).substr(lineStart == std::string::npos ? 0 : lineStart + 1);
    ours = ours || beginsLikeOurs(cut);
    return (ours ? std::string(kCutMark) : std::string()) + std::string(kCrLf);
}

}  // namespace corvane
