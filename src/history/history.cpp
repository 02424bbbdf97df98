// Recording the minutes as they end, with the programs and alerts they carry; what the history
// calls its own files.
#include "history/history.h"

#include <algorithm>

#include "history/busy_minute.h"
#include "history/history_csv.h"
#include "history/history_files.h"
#include "history/hour_records.h"

namespace corvane {

using namespace history_files;

void History::addSample(FileSystem& files, const HistorySample& sample) {
    if (!opened_) return;
    now_ = sample.minute;
    int32_t firstMo = current_.firstMo();
    if (std::optional<MinuteRecord> finished = current_.add(sample)) {
        record(files, std::move(*finished), firstMo);
    }
}

void History::notePrograms(int32_t minute, std::vector<ProgramMark> programs, bool capped) {
    // What the record holds is what its line holds, so that memory and file agree.
    if (programs.size() > kProgramsOfARecord) programs.resize(kProgramsOfARecord);
    for (ProgramMark& p : programs) {
        if (p.name.empty()) p.name = "?";  // a line cannot hold an empty name
    }
    programs_ = std::move(programs);
    programsMinute_ = minute;
    programsCapped_ = capped;
}

void History::markAlert(int32_t minute, AlertMark mark) {
    if (opened_) current_.markAlert(minute, mark);
}

void History::nameBusyPrograms(MinuteRecord& r, int32_t firstMo) {
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
    if (!minuteQualifies(seen)) return;
    r.programs = programs_;
    cappedCommit_ |= programsCapped_;
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

bool History::isOwnFile(FileSystem& files, const std::string& path) const {
    const std::string hourTmp = hourPath_ + ".tmp";
    const std::string waitingTmp = waitingPath_ + ".tmp";
    const std::string begun = newFilePath();
    const std::string newHistoryTmp = newHistoryPath_ + ".tmp";
    for (const std::string* own :
         {&path_, &oldPath_, &tmpPath_, &hourPath_, &hourOldPath_, &hourTmp, &backupPath_,
          &waitingPath_, &waitingTmp, &begun, &newHistoryPath_, &newHistoryTmp}) {
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
    wait(minute);
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

void History::refreshView() {
    if (view_) view_->refresh();
}

}  // namespace corvane
