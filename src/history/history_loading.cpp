// Reading the history: at start-up the end of the minutes' file and its first line (a file a
// cut replace left aside put back first, a read that fails tried again later), the rest once a
// view reaches back past it.
#include <string_view>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_files.h"
#include "history/utc_minutes.h"
#include "platform/file_replace.h"

namespace corvane {

using namespace history_files;

namespace {

// What start-up reads of the file's beginning, to know how far back it goes.
constexpr uint32_t kHeadBytes = 4096;

// The longest a start-up read that failed waits before it is tried again.
constexpr int32_t kLongestReadDelay = 60;

// What `parsed` says of a part of the file read from within it: every line understood and in
// order, the header apart.
bool tidyPart(const ParsedHistory& parsed) {
    return parsed.skippedLines == 0 && parsed.blankLines == 0 && parsed.endsWithLineEnd &&
           parsed.inOrder && parsed.repeatedRecords == 0 && parsed.resavedLines == 0 &&
           parsed.repeatedHeaders == 0;
}

}  // namespace

void History::open(FileSystem& files, const std::string& programDirectory, const DateTime& utcNow) {
    opened_ = true;
    path_ = programDirectory + "Corvane.csv";
    oldPath_ = path_ + ".old";
    tmpPath_ = path_ + ".tmp";
    hourPath_ = programDirectory + "Corvane-heures.csv";
    hourOldPath_ = hourPath_ + ".old";
    waitingPath_ = programDirectory + "Corvane-attente.csv";
    newHistoryPath_ = programDirectory + "Corvane-nouveau.csv";
    loadedFrom_ = kNoMinute;
    fileOldest_ = kNoMinute;
    now_ = minuteOf(utcNow).value_or(kNoMinute);

    putBackAside(files, hourPath_);
    putBackAside(files, path_);
    putBackAside(files, waitingPath_);
    // A new history an earlier run could not begin in the files: the old ones still move aside
    // first, so that a restart does not undo it.
    // Where that cannot be read, the files are left where they are (a move would push out the
    // generation before): the new history then goes on after the old one's lines.
    try {
        files.fileLength(newHistoryPath_);
        rotationPending_ = true;
    } catch (const RuntimeError& error) {
        rotationPending_ = false;
        earlierNewHistory_ = error.number() != kErrFileNotFound;
    }
    bool read = readStart(files);
    if (read && columnsMoved_ && compactDue_) compact(files);
    takeWaiting(files);
    // A small file is put right at once; a large one waits for the first new minute.
    if (read && wholeStart_ && compactDue_) compact(files);
}

void History::putBackAside(FileSystem& files, const std::string& path) {
    try {
        // Fails, leaving both as they are, unless the file is missing and its aside is there.
        files.renameFile(asidePath(path), path);
    } catch (const RuntimeError&) {
    }
}

void History::readAgainLater() {
    unreadable_ = true;
    nextRead_ = (now_ == kNoMinute ? 0 : now_) + readDelay_;
    readDelay_ = std::min(kLongestReadDelay, readDelay_ * 2);
}

bool History::readStart(FileSystem& files) {
    std::string tail;
    std::string head;
    bool whole = false;
    bool failed = false;
    try {
        uint64_t length = files.fileLength(path_);
        whole = length <= kTailBytes;
        tail = files.readPart(path_, whole ? 0 : length - kTailBytes, kTailBytes);
        if (!whole) head = files.readPart(path_, 0, kHeadBytes);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound) {
            // The new file gets its header at once: a folder that cannot be written is known
            // before the first minute is lost to it.
            unreadable_ = false;
            needsHeader_ = true;
            // Unless a new history waits to move in: then it is the new file.
            if (!rotationPending_) writePending(files);
            return true;
        }
        failed = true;
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        // How the file ends is not known: the next append looks before it writes.
        needsLineEnd_ = true;
        // Held for a moment (an antivirus scanning it): tried again later in the run.
        readAgainLater();
        return false;
    }
    std::string_view part = tail;
    if (!whole) {
        // The part begins within a line: the first whole line follows the first line end.
        size_t lineEnd = part.find('\n');
        part = lineEnd == std::string_view::npos ? std::string_view() : part.substr(lineEnd + 1);
    }
    // The part read from within the file is read through the names of its first line.
    std::string_view headLine = std::string_view(head).substr(0, head.find('\n'));
    ParsedHistory parsed =
        parseHistory(part, kHistoryHeader, whole ? std::string_view() : headLine);
    // Minutes recorded while the file could not be read stay beside those it holds.
    parsed.records.insert(parsed.records.end(), minutes_.begin(), minutes_.end());
    minutes_ = std::move(parsed.records);
    tidyUp(minutes_);
    if (!minutes_.empty()) loadedFrom_ = minutes_.front().minute;
    // The next line appended to a file left as it is must not join a cut one.
    needsLineEnd_ = !parsed.endsWithLineEnd;
    cutIsOurs_ = parsed.cutLastLineIsOurs;
    ParsedHistory first =
        whole ? ParsedHistory() : parseHistory(head.substr(0, head.rfind('\n') + 1));
    const std::vector<MinuteRecord>& firstRecords = whole ? minutes_ : first.records;
    if (!firstRecords.empty()) fileOldest_ = firstRecords.front().minute;
    // A file under another header than ours is rewritten under it at the next compaction; one
    // whose columns a line of ours would not fit before anything is appended to it.
    const ParsedHistory& begin = whole ? parsed : first;
    columnsMoved_ = begin.movedColumns;
    compactDue_ =
        whole ? !parsed.tidy() : !tidyPart(parsed) || begin.earlierHeader || begin.otherHeader;
    if (fileHoldsTooMuch()) compactDue_ = true;
    wholeStart_ = whole;
    unreadable_ = false;
    return true;
}

void History::load(FileSystem& files, int32_t minute) {
    if (!opened_ || wholeRead_ || minute >= loadedFrom_) return;
    std::string bytes;
    std::string hourBytes;
    readError_ = 0;
    if (!readWhole(files, path_, bytes, &readError_) ||
        !readWhole(files, hourPath_, hourBytes, &readError_)) {
        return;
    }
    std::vector<MinuteRecord> minutes = parseHistory(bytes).records;
    bytes = std::string();
    std::vector<MinuteRecord> hours = parseHistory(hourBytes, kHourHeader).records;
    hourBytes = std::string();
    // The minutes in memory that the file does not have yet stay.
    minutes.insert(minutes.end(), minutes_.begin(), minutes_.end());
    tidyUp(minutes);
    tidyUp(hours);
    minutes_ = std::move(minutes);
    hours_ = std::move(hours);
    wholeRead_ = true;
    loadedFrom_ = kEveryMinute;
    ageOut();
}

}  // namespace corvane
