// The minutes beyond their span folded into hours and the hours beyond theirs let go, counted
// back from the newest record the present clock does not place in the future; both files
// rewritten in one step each, the hours first.
#include <algorithm>
#include <exception>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_files.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "platform/write_aside.h"

namespace corvane {

using namespace history_files;

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
    // Only files that hold what memory holds may be rewritten: the minutes that wait for a file
    // under other columns go into its rewrite.
    bool takesWaiting = columnsMoved_ && !writeFailed_ && !rotationPending_;
    if ((!saved() && !takesWaiting) || unreadable_ || keepFileAsIs_) return;
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
    if (takesWaiting) {
        std::vector<MinuteRecord> waiting = parseHistory(pending_, kHistoryHeader).records;
        minutes.insert(minutes.end(), waiting.begin(), waiting.end());
    }
    std::vector<MinuteRecord> hours = std::move(hoursRead.records);
    tidyUp(minutes);
    tidyUp(hours);
    takenBackLines_ = minutesRead.resavedLines + hoursRead.resavedLines;
    leftLines_ = minutesRead.skippedLines + hoursRead.skippedLines;

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
    if (takesWaiting) {
        pending_.clear();
        pendingLines_ = 0;
    }
    columnsMoved_ = false;
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
    const std::string tmp = path + ".tmp";
    try {
        writeAside(files, tmp, bytes, [&] { files.replaceFile(tmp, path); });
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace corvane
