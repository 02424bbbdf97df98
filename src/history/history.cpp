// Recording the minutes; start-up reading the end of the file, the rest read on demand; the
// minutes beyond their span folded into hours; compaction and rotation of both files.
#include "history/history.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <string_view>

#include "history/busy_minute.h"
#include "history/history_csv.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "platform/file_replace.h"

namespace corvane {

namespace {

constexpr int32_t kNoMinute = std::numeric_limits<int32_t>::max();
constexpr int32_t kEveryMinute = std::numeric_limits<int32_t>::min();
// What start-up reads of the file's beginning, to know how far back it goes.
constexpr uint32_t kHeadBytes = 4096;
// The longest a start-up read that failed waits before it is tried again.
constexpr int32_t kLongestReadDelay = 60;
// The fewest minutes kept waiting in memory while the file cannot take them: a day, or the
// minutes' span when it is longer. Beyond it the oldest go, which a folder that can never be
// written would lose anyway, and memory stays bounded.
constexpr size_t kFewestWaitingLines = 1440;

// Names tried, in order, for the copy of a file about to be compacted: none is ever replaced.
constexpr const char* kBackupSuffixes[] = {".bak",  ".bak2", ".bak3", ".bak4", ".bak5",
                                           ".bak6", ".bak7", ".bak8", ".bak9"};

bool earlier(const MinuteRecord& a, const MinuteRecord& b) {
    return a.minute < b.minute;
}

// In time order, each record once.
void tidyUp(std::vector<MinuteRecord>& records) {
    std::stable_sort(records.begin(), records.end(), earlier);
    records.erase(std::unique(records.begin(), records.end()), records.end());
}

// The first record at or after `minute`.
std::vector<MinuteRecord>::iterator from(std::vector<MinuteRecord>& records, int32_t minute) {
    return std::lower_bound(records.begin(), records.end(), MinuteRecord{minute}, earlier);
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

// A whole file, or nothing when it is not there; false, and why in `error`, when it is there
// but cannot be read.
bool readWhole(FileSystem& files, const std::string& path, std::string& bytes,
               int* error = nullptr) {
    try {
        bytes = files.readFile(path);
    } catch (const RuntimeError& failure) {
        bytes.clear();
        if (failure.number() == kErrFileNotFound) return true;
        if (error) *error = failure.number();
        return false;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        if (error) *error = kErrOutOfMemory;
        return false;
    }
    return true;
}

// What `parsed` says of a part of the file read from within it: every line understood and in
// order, the header apart.
bool tidyPart(const ParsedHistory& parsed) {
    return parsed.skippedLines == 0 && parsed.blankLines == 0 && parsed.endsWithLineEnd &&
           parsed.inOrder && parsed.repeatedRecords == 0 && parsed.resavedLines == 0;
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
    loadedFrom_ = kNoMinute;
    fileOldest_ = kNoMinute;
    now_ = minuteOf(utcNow).value_or(kNoMinute);

    putBackAside(files, hourPath_);
    putBackAside(files, path_);
    bool read = readStart(files);
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
            writePending(files);
            return true;
        }
        failed = true;
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        unreadable_ = true;
        // Held for a moment (an antivirus scanning it): tried again later in the run.
        nextRead_ = (now_ == kNoMinute ? 0 : now_) + readDelay_;
        readDelay_ = std::min(kLongestReadDelay, readDelay_ * 2);
        return false;
    }
    std::string_view part = tail;
    if (!whole) {
        // The part begins within a line: the first whole line follows the first line end.
        size_t lineEnd = part.find('\n');
        part = lineEnd == std::string_view::npos ? std::string_view() : part.substr(lineEnd + 1);
    }
    ParsedHistory parsed = parseHistory(part);
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
    compactDue_ = whole ? !parsed.tidy() : !tidyPart(parsed);
    if (fileHoldsTooMuch()) compactDue_ = true;
    wholeStart_ = whole;
    unreadable_ = false;
    return true;
}

void History::takeWaiting(FileSystem& files) {
    std::string bytes;
    if (!readWhole(files, waitingPath_, bytes) || bytes.empty()) return;
    waitingOnDisk_ = true;
    for (const MinuteRecord& r : parseHistory(bytes).records) {
        auto same = from(minutes_, r.minute);
        bool known = false;
        for (; same != minutes_.end() && same->minute == r.minute; ++same) known |= *same == r;
        // Written by a run that ended before it could let go of the copy.
        if (known) continue;
        minutes_.insert(same, r);
        pending_ += formatRecord(r);
        ++pendingLines_;
    }
    writePending(files);
}

void History::keepWaiting(FileSystem& files) {
    if (pending_.empty() && oldPending_.empty()) return;
    // The old history's last lines first: while its file has not moved aside, the next start
    // appends them to it.
    std::string text(kHistoryHeader);
    text += kCrLf;
    text += oldPending_;
    text += pending_;
    if (replaceWith(files, waitingPath_, text)) waitingOnDisk_ = true;
}

void History::addSample(FileSystem& files, const HistorySample& sample) {
    if (!opened_) return;
    now_ = sample.minute;
    int32_t firstMo = current_.firstMo();
    if (std::optional<MinuteRecord> finished = current_.add(sample)) {
        record(files, std::move(*finished), firstMo);
    }
}

void History::notePrograms(int32_t minute, std::vector<ProgramMark> programs) {
    // What the record holds is what its line holds, so that memory and file agree.
    if (programs.size() > kProgramsOfARecord) programs.resize(kProgramsOfARecord);
    for (ProgramMark& p : programs) {
        if (p.name.empty()) p.name = "?";  // a line cannot hold an empty name
    }
    programs_ = std::move(programs);
    programsMinute_ = minute;
}

void History::markAlert(int32_t minute, AlertMark mark) {
    if (opened_) current_.markAlert(minute, mark);
}

void History::nameBusyPrograms(MinuteRecord& r, int32_t firstMo) const {
    if (programs_.empty() || programsMinute_ > r.minute || programsMinute_ < r.minute - 1) return;
    MinuteMemory seen;
    auto before =
        std::lower_bound(minutes_.begin(), minutes_.end(), MinuteRecord{r.minute - 1}, earlier);
    if (before != minutes_.end() && before->minute == r.minute - 1) {
        seen.previousSwapMo = before->lastMo;
    }
    seen.firstSwapMo = firstMo;
    seen.largestSwapMo = r.maxMo;
    if (r.commitMo != kUnknownMo && r.commitLimitMo != kUnknownMo) {
        seen.commit = static_cast<uint64_t>(r.commitMo);
        seen.limit = static_cast<uint64_t>(r.commitLimitMo);
    }
    if (minuteQualifies(seen)) r.programs = programs_;
}

void History::close(FileSystem& files) {
    if (!opened_) return;
    int32_t firstMo = current_.firstMo();
    if (std::optional<MinuteRecord> finished = current_.finish()) {
        record(files, std::move(*finished), firstMo);
    } else if (!saved()) {
        writePending(files);
    }
    keepWaiting(files);
}

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

bool History::isOwnFile(FileSystem& files, const std::string& path) const {
    const std::string hourTmp = hourPath_ + ".tmp";
    const std::string waitingTmp = waitingPath_ + ".tmp";
    for (const std::string* own : {&path_, &oldPath_, &tmpPath_, &hourPath_, &hourOldPath_,
                                   &hourTmp, &backupPath_, &waitingPath_, &waitingTmp}) {
        if (!own->empty() && files.sameFile(path, *own)) return true;
    }
    return false;
}

void History::exportTo(FileSystem& files, const std::string& target) {
    // Written over one of the history's files, the copy would replace what it is made from.
    if (isOwnFile(files, target)) throw RuntimeError(kErrFileExists);
    load(files, kEveryMinute);
    // What the files hold and could not be read is not exported as if there were none.
    if (!wholeRead_) throw RuntimeError(readError_ ? readError_ : kErrDeviceIo);
    files.writeFile(target, exportText(hours_, minutes_));
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

void History::record(FileSystem& files, MinuteRecord minute, int32_t firstMo) {
    nameBusyPrograms(minute, firstMo);
    if (minutes_.empty() || minutes_.back().minute <= minute.minute) {
        minutes_.push_back(minute);
    } else {
        minutes_.insert(std::upper_bound(minutes_.begin(), minutes_.end(), minute, earlier),
                        minute);
    }
    // A minute before loadedFrom_ (the clock put back) is in memory, but the file's minutes
    // around it are not: loadedFrom_ stays, and a view that reaches back reads them.
    pending_ += formatRecord(minute);
    ++pendingLines_;
    size_t most = std::max(kFewestWaitingLines, static_cast<size_t>(std::max(0, minuteSpan_)));
    while (pendingLines_ > most) {
        pending_.erase(0, pending_.find('\n') + 1);
        --pendingLines_;
    }
    if (unreadable_ && minute.minute >= nextRead_) readStart(files);
    writePending(files);
    ageOut();
    if (fileHoldsTooMuch()) compactDue_ = true;
    // A compaction that could not read or replace the files waits an hour before it reads
    // them again (sooner when the clock has been put back past that hour).
    if (compactDue_ && (minute.minute >= nextCompact_ ||
                        static_cast<int64_t>(minute.minute) <
                            static_cast<int64_t>(nextCompact_) - kMinutesPerHour)) {
        compact(files);
    }
    refreshView();
}

void History::ageOut() {
    if (minutes_.empty()) return;
    int32_t cut = minuteCut(reference(newest()));
    // A day's worth at a time, so that memory is not reshuffled at every minute.
    int32_t slack = std::max(1, minuteSpan_ / 31);
    if (minutes_.front().minute >= cut - slack) return;
    auto keep = from(minutes_, cut);
    if (wholeRead_) {
        std::vector<MinuteRecord> old(minutes_.begin(), keep);
        hours_ = mergeHours(hours_, hoursOf(old));
        dropExpired(hours_);
    }
    minutes_.erase(minutes_.begin(), keep);
    if (!wholeRead_) loadedFrom_ = std::max(loadedFrom_, cut);
}

int32_t History::minuteCut(int32_t newestMinute) const {
    int64_t cut = static_cast<int64_t>(newestMinute) - minuteSpan_;
    return cut <= 0 ? 0 : hourOf(static_cast<int32_t>(cut));
}

bool History::fileHoldsTooMuch() const {
    // Once a span of minutes has gone past the span the file keeps: once a month at the usual
    // spans, so that the file is rewritten seldom.
    return fileOldest_ != kNoMinute && !minutes_.empty() &&
           static_cast<int64_t>(fileOldest_) <
               static_cast<int64_t>(reference(newest())) - 2 * minuteSpan_;
}

int32_t History::reference(int32_t newestMinute) const {
    return std::min(newestMinute, now_);
}

int32_t History::newest() const {
    int32_t newestMinute = kEveryMinute;
    if (!minutes_.empty()) newestMinute = minutes_.back().minute;
    if (!hours_.empty()) newestMinute = std::max(newestMinute, hours_.back().minute);
    return newestMinute;
}

void History::dropExpired(std::vector<MinuteRecord>& hours) const {
    // Hours stand for sixty minutes each.
    size_t enough = static_cast<size_t>(std::max(1, kept_ / kMinutesPerHour));
    if (hours.size() <= enough) return;
    size_t followedByEnough = hours.size() - enough;
    int32_t newestMinute = reference(std::max(newest(), hours.back().minute));
    int64_t limit = static_cast<int64_t>(newestMinute) - kept_;
    size_t olderThanLimit = static_cast<size_t>(
        std::find_if(hours.begin(), hours.end(),
                     // An hour goes once its last minute is past the limit.
                     [&](const MinuteRecord& r) { return r.minute + kMinutesPerHour > limit; }) -
        hours.begin());
    size_t count = std::min(followedByEnough, olderThanLimit);
    hours.erase(hours.begin(), hours.begin() + static_cast<std::ptrdiff_t>(count));
}

void History::compact(FileSystem& files) {
    // Only files that hold what memory holds may be rewritten.
    if (!saved() || unreadable_ || keepFileAsIs_) return;
    // Until it has gone through, it is tried again an hour later: reading and parsing both
    // files is megabytes of work.
    compactDue_ = true;
    nextCompact_ = now_ == kNoMinute ? kEveryMinute : now_ + kMinutesPerHour;
    std::string bytes;
    std::string hourBytes;
    if (!readWhole(files, path_, bytes) || !readWhole(files, hourPath_, hourBytes)) return;
    ParsedHistory minutesRead = parseHistory(bytes);
    ParsedHistory hoursRead = parseHistory(hourBytes, kHourHeader);
    std::vector<MinuteRecord> minutes = std::move(minutesRead.records);
    std::vector<MinuteRecord> hours = std::move(hoursRead.records);
    tidyUp(minutes);
    tidyUp(hours);
    unreadLines_ = minutesRead.skippedLines + minutesRead.resavedLines + hoursRead.skippedLines +
                   hoursRead.resavedLines;

    int32_t newestMinute = newest();
    if (!minutes.empty()) newestMinute = std::max(newestMinute, minutes.back().minute);
    if (!hours.empty()) newestMinute = std::max(newestMinute, hours.back().minute);
    auto keep = from(minutes, minuteCut(reference(newestMinute)));
    std::vector<MinuteRecord> old(minutes.begin(), keep);
    minutes.erase(minutes.begin(), keep);
    size_t hoursBefore = hours.size();
    hours = mergeHours(hours, hoursOf(old));
    dropExpired(hours);

    bool minutesChange = !old.empty() || !minutesRead.tidy();
    bool hoursChange =
        !old.empty() || hours.size() != hoursBefore || (!hourBytes.empty() && !hoursRead.tidy());
    if (!minutesChange && !hoursChange) {
        compactDue_ = false;
        nextCompact_ = kEveryMinute;
        return;
    }
    // What could not be read is not destroyed without a copy: a file that cannot be copied
    // stays as it is, and the new minutes are appended to it.
    if ((minutesChange && !minutesRead.understood() &&
         !backUp(files, path_, bytes, kHistoryHeader)) ||
        (hoursChange && !hoursRead.understood() &&
         !backUp(files, hourPath_, hourBytes, kHourHeader))) {
        return;
    }
    bytes = std::string();
    hourBytes = std::string();
    // The hours first: no minute leaves the file before its hour is in place.
    if (hoursChange && !replaceWith(files, hourPath_, historyText(hours, kHourHeader))) return;
    if (minutesChange && !replaceWith(files, path_, historyText(minutes))) return;
    compactDue_ = false;
    nextCompact_ = kEveryMinute;
    needsHeader_ = false;
    needsLineEnd_ = false;
    fileOldest_ = minutes.empty() ? kNoMinute : minutes.front().minute;
    if (wholeRead_) {
        hours_ = std::move(hours);
        minutes_ = std::move(minutes);
        ageOut();
    } else if (!old.empty()) {
        // The minutes folded into hours are hours now, read when a view asks for them.
        int32_t cut = hourOf(old.back().minute) + kMinutesPerHour;
        minutes_.erase(minutes_.begin(), from(minutes_, cut));
        loadedFrom_ = minutes_.empty() ? kNoMinute : std::max(loadedFrom_, cut);
    }
}

bool History::replaceWith(FileSystem& files, const std::string& path, const std::string& bytes) {
    std::string tmp = path + ".tmp";
    try {
        files.writeFile(tmp, bytes);
        files.replaceFile(tmp, path);
    } catch (const std::exception&) {
        try {
            files.deleteFile(tmp);
        } catch (const RuntimeError&) {
        }
        return false;
    }
    return true;
}

void History::writePending(FileSystem& files) {
    if (rotationPending_ && !rotate(files)) {
        writeFailed_ = true;
        return;
    }
    try {
        std::string prefix;
        if (needsLineEnd_) prefix += freshLine(files);
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

std::string History::freshLine(FileSystem& files) const {
    try {
        uint64_t length = files.fileLength(path_);
        if (length == 0 || files.readPart(path_, length - 1, 1) == "\n") return {};
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound) return {};
    }
    std::string text = cutIsOurs_ ? std::string(kCutMark) : std::string();
    return text + std::string(kCrLf);
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
            files.appendText(path_, (needsLineEnd_ ? freshLine(files) : "") + oldPending_);
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

bool History::backUp(FileSystem& files, const std::string& path, const std::string& bytes,
                     std::string_view header) {
    // One copy of a content is enough: a file whose backup was made at an earlier compaction
    // that could not finish has only had this program's lines appended since.
    bool freeName = false;
    for (const char* suffix : kBackupSuffixes) {
        std::string kept;
        try {
            kept = files.readFile(path + suffix);
        } catch (const RuntimeError& error) {
            if (error.number() != kErrFileNotFound) continue;
            freeName = true;
            break;
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (bytes.compare(0, kept.size(), kept) == 0 &&
            parseHistory(std::string_view(bytes).substr(kept.size()), header).understood()) {
            backupPath_ = path + suffix;
            return true;
        }
    }
    if (!freeName) {
        keepFileAsIs_ = true;
        return false;
    }
    std::string copy = path + ".bak.tmp";
    try {
        files.writeFile(copy, bytes);
        // On the disk before the original is rewritten, or a power cut can leave both empty.
        files.flushFile(copy);
        for (const char* suffix : kBackupSuffixes) {
            try {
                // A move, not a copy over: a backup made at an earlier start stays.
                files.renameFile(copy, path + suffix);
                backupPath_ = path + suffix;
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

void History::refreshView() {
    if (view_) view_->refresh();
}

}  // namespace corvane
