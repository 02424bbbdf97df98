// The history's whole life on a file system that fails any call on demand: start-ups over any
// file, samples over minutes and days, the clock set ahead and back, compaction, new
// histories, exports, disks that fill, files held elsewhere, moves refused, crashes that cut
// the last line at any byte. Whatever happens, nothing crashes and no record that was ever in
// the file is lost, as a minute or within its hour, unless it is more than the kept span older
// than the newest; no minute the present clock places within the minutes' span is folded into
// an hour; a cut line is never read as a record; the minutes in memory at an exit while the
// file is held reach it once it is released; the files beside the history stay few, one copy
// of the user's lines at most; lines the reader did not understand survive somewhere. A new
// history, asked for while the file is held or the disk is full, never takes the old one's
// minutes in, at a restart or later, and the old one's last minutes reach its file.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "memory_files.h"
#include "moved_columns.h"

namespace {

using namespace corvane;

const std::string kDir = "C:\\Corvane\\";
const std::string kCsv = kDir + "Corvane.csv";
// A second name of the history file, as a short name gives it.
const std::string kAlias = "C:\\CORVAN~1\\CORVAN~1.CSV";
const std::string kHours = kDir + "Corvane-heures.csv";
const std::string kWaiting = kDir + "Corvane-attente.csv";
const std::string kNew = kDir + "Corvane-nouveau.csv";
// The memory figures of each new history are this much above the last one's: which history a
// record is of can be told from its figures.
constexpr int32_t kHistoryStep = 10000;
const char* const kOtherFiles[] = {".old", ".bak", ".bak2", ".bak3", ".tmp"};
// What no sample holds (they stay below 4001 Mo): the figures of the records cut short.
constexpr int32_t kCutMo = 5000;
constexpr int32_t kCutMemoryMo = 7777;

using Key = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int,
                       std::string>;
Key keyOf(const MinuteRecord& r) {
    // The programs as the line writes them: what they are matters, not their representation.
    std::string programs;
    for (const ProgramMark& p : r.programs) {
        programs += p.name + '/' + std::to_string(p.pid) + '/' + std::to_string(p.commitMo) + '/' +
                    std::to_string(p.hourGrowthMo) + ';';
    }
    return {r.minute,  r.minMo,    r.maxMo,         r.lastMo, r.memoryMo,
            r.inUseMo, r.commitMo, r.commitLimitMo, r.alerts, programs};
}
Key firstKeyOfMinute(int32_t minute) {
    return {minute,    INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN,
            INT32_MIN, INT32_MIN, INT32_MIN, INT_MIN,   std::string()};
}

// A record whose figures no sample has, cut at any byte, as a crash leaves it.
MinuteRecord cutRecordOf(int32_t minute) {
    MinuteRecord r{minute, kCutMo, kCutMo + 2, kCutMo + 1, kCutMemoryMo, 120};
    r.commitMo = 8192;
    r.commitLimitMo = 12288;
    r.programs.push_back({"chrome.exe", 1234, 812, 300});
    return r;
}
std::string cutRecord(FuzzedDataProvider& in, int32_t minute) {
    std::string whole = formatRecord(cutRecordOf(minute));
    return whole.substr(0, in.ConsumeIntegralInRange<size_t>(0, whole.size() - 1));
}

std::string spreadsheetLine(const MinuteRecord& r) {
    DateTime t = dateTimeOf(r.minute);
    char text[96];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d;%d;%d;%d;%d;%s;note\r\n", t.day,
                  t.month, t.year, t.hour, t.minute, r.minMo, r.maxMo, r.lastMo, r.memoryMo,
                  r.inUseMo == kUnknownMo ? "" : std::to_string(r.inUseMo).c_str());
    return text;
}

// The file at the first start: any bytes, or records in this program's form, in a
// spreadsheet's, or torn, with foreign lines among them.
std::string initialFile(FuzzedDataProvider& in, int32_t& clock) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: return {};
        case 1: return in.ConsumeRandomLengthString(4096);
        default: break;
    }
    std::string text = in.ConsumeBool() ? std::string(kHistoryHeader) + "\r\n" : "Minute;x\r\n";
    int count = in.ConsumeIntegralInRange(0, 300);
    int32_t minute = clock - in.ConsumeIntegralInRange(0, 5 * 1440);
    for (int i = 0; i < count; ++i) {
        int32_t lo = in.ConsumeIntegralInRange(0, 3000);
        MinuteRecord r{minute, lo,  lo + in.ConsumeIntegralInRange(0, 9),
                       lo,     800, in.ConsumeBool() ? kUnknownMo : 100};
        r.lastMo = r.minMo + (r.maxMo - r.minMo) / 2;
        switch (in.ConsumeIntegralInRange(0, 5)) {
            case 0: text += spreadsheetLine(r); break;
            case 1: text += "garbage " + std::to_string(i) + "\r\n"; break;
            case 2: text += "\r\n"; break;
            default: text += formatRecord(r); break;
        }
        minute += in.PickValueInArray({1, 1, 1, 2, 60, 1440, -3, 0});
        minute = std::max(minute, 0);
    }
    if (in.ConsumeBool()) text += cutRecord(in, minute);  // cut short by a crash
    clock = std::max(clock, minute);
    return text;
}

class Life {
public:
    explicit Life(FuzzedDataProvider& in) : in_(in) {}

    void run() {
        clock_ = *minuteOf(DateTime{2026, 12, 8, 6, 15, 0});
        span_ = in_.ConsumeIntegralInRange<int32_t>(2, 3 * 1440);
        kept_ = in_.ConsumeIntegralInRange<int32_t>(60, 6 * 1440);
        std::string first = initialFile(in_, clock_);
        if (!first.empty() || in_.ConsumeBool()) files_.files[upper(kCsv)] = first;
        foreign_ = foreignLines(first);
        files_.aliases[upper(kAlias)] = upper(kCsv);
        start();
        int steps = 0;
        while (in_.remaining_bytes() > 0 && ++steps < 400) {
            std::set<Key> minutesBefore = keptAsMinutes();
            step();
            noteFile();
            checkNothingLost();
            checkNothingFoldedTooSoon(minutesBefore);
            checkFilesBeside();
            checkNoOldHistory();
        }
        // The faults end; the program ends while another program still holds the file. What
        // memory held reaches the file once it is released.
        files_.failing = 0;
        files_.freeBytes.reset();
        files_.locked.clear();
        files_.locked.insert(upper(kCsv));
        history_->close(files_);
        for (const MinuteRecord& r : history_->records()) mustKeep_.insert(keyOf(r));
        noteFile();
        // The old history's last minutes, in memory at a new history, reached a file.
        for (const Key& k : lastOfOld_) {
            if (std::get<0>(k) >= newest_ - kept_) lost(k);
        }
        stop();
        files_.locked.clear();
        start();
        noteFile();
        checkNothingLost();
        history_->close(files_);
        noteFile();
        checkNothingLost();
        restart();
        checkNothingLost();
        checkFilesBeside();
        checkNoOldHistory();
        // Nothing waits once the file is free.
        if (files_.exists(kWaiting) || files_.exists(kNew)) __builtin_trap();
        if (!newHistory_) checkForeignLinesKept();
    }

private:
    static std::string upper(std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }

    // Lines of a file that the reader does not take as a record or as the header.
    static std::vector<std::string> foreignLines(const std::string& bytes) {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\n', start);
            std::string line = bytes.substr(start, end == std::string::npos ? end : end - start);
            start = end == std::string::npos ? bytes.size() : end + 1;
            // A last line cut short that begins as one of the program's is what a crash left
            // of one of its own: not a user's line.
            if (end == std::string::npos && beginsLikeOurs(line)) continue;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            MinuteRecord r;
            bool header = line == kHistoryHeader;  // first, or ours begun again
            bool cut = line.size() >= kCutMark.size() &&
                       line.compare(line.size() - kCutMark.size(), kCutMark.size(), kCutMark) == 0;
            if (line.empty() || header || cut || parseRecordLine(line, r)) continue;
            lines.push_back(line);
        }
        return lines;
    }

    void start() {
        // A new history is known to the next start by its own file: where that could not be
        // written (a full disk) or read, the start goes on with the old one, as before it.
        bool unread = files_.failing & fake::MemoryFiles::kRead;
        bool forgotten = wasWaiting_ && (!files_.exists(kNew) || unread);
        // The same where a move of the old file said it had gone (every call on it "not
        // found") and the program took the new history as begun: nothing on the disk says
        // otherwise, and a start that cannot read finds neither file.
        const std::set<Key>& minutes = recordsOf(kCsv);
        forgotten = forgotten ||
                    (unread && std::any_of(minutes.begin(), minutes.end(), [&](const Key& k) {
                         return std::get<1>(k) < kCutMo && std::get<4>(k) / kHistoryStep < oldest_;
                     }));
        bool earlierAsItWas = earlierFileAsItWas();
        history_ = std::make_unique<History>(kept_, span_);
        history_->open(files_, kDir, dateTimeOf(clock_));
        if (forgotten && !history_->newHistoryWaiting()) {
            // Its file stays; a new history asked for later must not be written after it.
            // Forgotten again as it was, it still holds what it held the first time.
            if (files_.exists(kNew)) {
                earlierOldest_ = earlierFileAsItWas() ? std::min(earlierOldest_, oldest_) : oldest_;
                earlier_ = recordsOf(kNew);
            }
            oldest_ = oldestBefore_;
        }
        // That file left as it was (a new history asked for since could neither join its lines
        // to the old one's nor move it, the disk full and renames failing) is the new history
        // once a start can read it: it follows those lines, as one asked for twice before it
        // began does.
        if (earlierAsItWas && history_->newHistoryWaiting()) {
            oldest_ = std::min(oldest_, earlierOldest_);
        }
    }

    // The new history's file holds nothing but what it held when a start could not look at it.
    bool earlierFileAsItWas() {
        const std::set<Key>& begun = recordsOf(kNew);
        return !begun.empty() &&
               std::includes(earlier_.begin(), earlier_.end(), begun.begin(), begun.end());
    }

    void stop() {
        wasWaiting_ = history_ && history_->newHistoryWaiting();
        // What memory held and no file has is lost with the program, as any such minute is.
        noteFile();
        lastOfOld_.clear();
        history_.reset();
    }

    void restart() {
        stop();
        start();
    }

    void sample() {
        int32_t step = in_.PickValueInArray({0, 0, 1, 1, 1, 2, 59, 61, 1440, kept_, kept_ + 1, -1,
                                             -60, -1440, 2 * 525600, -2 * 525600});
        clock_ = std::clamp<int64_t>(static_cast<int64_t>(clock_) + step, 0,
                                     *minuteOf(DateTime{3999, 12, 31, 23, 59, 0}));
        HistorySample s;
        s.minute = clock_;
        s.swapMo = in_.ConsumeIntegralInRange(0, 4000);
        s.memoryMo = in_.ConsumeIntegralInRange(0, 4000) + generation_ * kHistoryStep;
        s.inUseMo = in_.ConsumeBool() ? kUnknownMo : in_.ConsumeIntegralInRange(0, 4000);
        if (in_.ConsumeBool()) {
            s.commitLimitMo = in_.ConsumeIntegralInRange(1, 20000);
            s.commitMo = in_.ConsumeIntegralInRange(0, s.commitLimitMo);
        }
        history_->addSample(files_, s);
        // The minute's scan of the processes, and an alert now and then.
        if (in_.ConsumeBool()) {
            std::vector<ProgramMark> programs;
            int count = in_.ConsumeIntegralInRange(0, 4);
            for (int i = 0; i < count; ++i) {
                programs.push_back({in_.ConsumeRandomLengthString(12),
                                    in_.ConsumeIntegral<uint32_t>(),
                                    in_.ConsumeIntegralInRange(0, 20000),
                                    in_.ConsumeIntegralInRange(-20000, 20000)});
            }
            history_->notePrograms(clock_, std::move(programs));
        }
        if (in_.ConsumeBool()) {
            history_->markAlert(
                clock_, in_.PickValueInArray({kAlertCommit, kAlertSwapGrowth, kAlertMemory}));
        }
    }

    void exportCopy() {
        std::string before = files_.contents(kCsv).value_or("<none>");
        bool own = in_.ConsumeBool();
        std::string target = own ? (in_.ConsumeBool() ? kAlias : kCsv + ".old") : "D:\\copie.csv";
        try {
            history_->exportTo(files_, target);
        } catch (const RuntimeError&) {
            return;
        }
        if (own) __builtin_trap();  // the export wrote over the history's own files
        if (files_.contents(kCsv).value_or("<none>") != before) __builtin_trap();
        // Every record in memory is a line of the copy, saying which detail it is.
        std::string copy = files_.contents(target).value_or("");
        std::set<std::string> lines;
        for (size_t at = 0, end; (end = copy.find("\r\n", at)) != std::string::npos; at = end + 2) {
            lines.insert(copy.substr(at, end + 2 - at));
        }
        for (const MinuteRecord& r : history_->records()) {
            if (!lines.count("minute;" + formatRecord(r))) __builtin_trap();
        }
        for (const MinuteRecord& r : history_->hours()) {
            if (!lines.count("heure;" + formatRecord(r))) __builtin_trap();
        }
    }

    void step() {
        int op = in_.ConsumeIntegralInRange(0, 13);
        if (std::getenv("HISTORY_LIFE_TRACE")) {
            std::fprintf(stderr, "op %d clock %s failing %u/%d free %lld locked %zu\n", op,
                         formatMinute(clock_).c_str(), files_.failing, files_.failure,
                         files_.freeBytes ? static_cast<long long>(*files_.freeBytes) : -1LL,
                         files_.locked.size());
        }
        switch (op) {
            case 0:
            case 1:
            case 2:
            case 3: sample(); break;
            case 4:
                files_.failing = in_.ConsumeIntegral<uint8_t>() & 127;
                files_.failure = in_.PickValueInArray(
                    {kErrDiskFull, kErrPermissionDenied, kErrPathFileAccess, kErrDeviceIo,
                     kErrPathNotFound, kErrFileNotFound, kErrFileExists});
                break;
            case 5:
                if (in_.ConsumeBool()) {
                    files_.freeBytes = in_.ConsumeIntegralInRange<uint64_t>(0, 200);
                } else {
                    files_.freeBytes.reset();
                }
                break;
            case 6: files_.failing = 0; break;
            case 7: {
                std::string which = upper(kCsv + (in_.ConsumeBool() ? "" : ".old"));
                if (!files_.locked.erase(which)) files_.locked.insert(which);
                break;
            }
            case 8:
                if (in_.ConsumeBool()) history_->close(files_);
                restart();
                break;
            case 9: {
                // A new history: the user lets go of the generation before the current one,
                // once the current one has taken its place.
                // What only memory holds was never in the file: it is not counted.
                std::set<Key> current = recordsOf(kCsv);
                // The minutes memory holds are the old history's last: they must reach a file
                // (once one takes them), unless the program ends first.
                for (const MinuteRecord& r : history_->records()) {
                    if (!current.count(keyOf(r))) lastOfOld_.insert(keyOf(r));
                }
                previous_.clear();
                for (const Key& k : mustKeep_) {
                    if (!current.count(k)) previous_.insert(k);
                }
                successor_ = current;
                mustKeep_ = current;
                newHistory_ = true;
                // Asked for while a spreadsheet holds the file, or as the disk fills.
                if (in_.ConsumeBool()) files_.locked.insert(upper(kCsv));
                if (in_.ConsumeBool()) files_.freeBytes = in_.ConsumeIntegralInRange(0, 120);
                // A new history asked for again before the last one began may take that one's
                // minutes with it; no older one's.
                if (!history_->newHistoryWaiting()) {
                    oldestBefore_ = oldest_;
                    oldest_ = generation_ + 1;
                }
                ++generation_;
                history_->startNew(files_);
                break;
            }
            case 10: exportCopy(); break;
            case 11: spreadsheetSave(); break;
            case 12: history_->load(files_, in_.ConsumeIntegral<int32_t>()); break;
            case 13: {
                // A crash in the middle of an append: the file ends with part of a line.
                auto file = files_.files.find(upper(kCsv));
                if (file != files_.files.end()) {
                    if (!file->second.empty() && file->second.back() != '\n') break;
                    file->second += cutRecord(in_, clock_);
                    ++files_.changes;
                }
                restart();
                break;
            }
            default: history_->close(files_); break;
        }
    }

    // Between two runs, a user saves the file from a spreadsheet with its columns moved, some
    // left out, one of theirs added: the records hold from then on what the columns left them
    // (the memory, which tells the histories apart, stays). Once, while no copy of a user's
    // lines is kept yet, so that the one copy this makes is the only one.
    void spreadsheetSave() {
        auto file = files_.files.find(upper(kCsv));
        if (spreadsheetSaved_ || newHistory_ || file == files_.files.end()) return;
        for (const auto& [path, bytes] : files_.files) {
            if (path.find(".BAK") != std::string::npos || path == upper(kWaiting)) return;
        }
        ParsedHistory parsed = parseHistory(file->second);
        if (!parsed.tidy()) return;
        stop();
        std::vector<int> columns;
        for (int place = 0; place < 21; ++place) {
            bool needed = place == 0 || place == 3 || place == 4;
            if (!needed && in_.ConsumeIntegralInRange(0, 3) == 0) continue;
            columns.insert(columns.begin() + in_.ConsumeIntegralInRange<ptrdiff_t>(
                                                 0, static_cast<ptrdiff_t>(columns.size())),
                           place);
        }
        if (in_.ConsumeBool()) {
            columns.insert(columns.begin() + in_.ConsumeIntegralInRange<ptrdiff_t>(
                                                 0, static_cast<ptrdiff_t>(columns.size())),
                           -1);
        }
        for (const MinuteRecord& r : parsed.records) {
            if (mustKeep_.erase(keyOf(r))) {
                mustKeep_.insert(keyOf(fuzzing::withColumns(r, columns)));
            }
        }
        file = files_.files.find(upper(kCsv));
        file->second = fuzzing::movedColumns(parsed.records, columns);
        ++files_.changes;
        spreadsheetSaved_ = true;
        start();
    }

    // The records of a file, parsed again only when its bytes changed.
    const std::set<Key>& recordsOf(const std::string& path) {
        static const std::string kNone;
        Parsed& cached = parsed_[path];
        if (cached.valid && cached.changes == files_.changes) return cached.records;
        auto file = files_.files.find(upper(path));
        const std::string& bytes = file == files_.files.end() ? kNone : file->second;
        cached.valid = true;
        cached.changes = files_.changes;
        cached.records.clear();
        std::string_view header =
            path.rfind(kHours, 0) == 0 ? kHourHeader : std::string_view(kHistoryHeader);
        for (const MinuteRecord& r : parseHistory(bytes, header).records) {
            cached.records.insert(keyOf(r));
        }
        return cached.records;
    }

    // Every record that reaches the file must be kept from then on.
    void noteFile() {
        for (const Key& k : recordsOf(kCsv)) mustKeep_.insert(k);
        for (auto it = lastOfOld_.begin(); it != lastOfOld_.end();) {
            bool written = recordsOf(kWaiting).count(*it) || recordsOf(kNew).count(*it);
            for (const char* suffix : {"", ".old"}) {
                written = written || recordsOf(kCsv + suffix).count(*it) > 0;
            }
            if (written) mustKeep_.insert(*it);
            it = written ? lastOfOld_.erase(it) : std::next(it);
        }
        if (!history_->records().empty()) {
            newest_ = std::max(newest_, history_->records().back().minute);
        }
        if (!mustKeep_.empty()) newest_ = std::max(newest_, std::get<0>(*mustKeep_.rbegin()));
    }

    // With HISTORY_LIFE_TRACE set, a loss prints the record and the files before the trap.
    [[noreturn]] void lost(const Key& k) {
        if (std::getenv("HISTORY_LIFE_TRACE")) {
            std::fprintf(stderr, "lost: %s (newest %s, kept %d)\n",
                         formatMinute(std::get<0>(k)).c_str(), formatMinute(newest_).c_str(),
                         kept_);
            for (const auto& [path, bytes] : files_.files) {
                std::fprintf(stderr, "--- %s\n%s\n", path.c_str(), bytes.c_str());
            }
        }
        __builtin_trap();
    }

    // The records kept as minutes (not only within an hour), in the files or in memory.
    std::set<Key> keptAsMinutes() {
        std::set<Key> minutes;
        std::vector<const std::set<Key>*> files{&recordsOf(kCsv), &recordsOf(kWaiting),
                                                &recordsOf(kNew)};
        for (const char* suffix : kOtherFiles) files.push_back(&recordsOf(kCsv + suffix));
        for (const std::set<Key>* f : files) minutes.insert(f->begin(), f->end());
        for (const MinuteRecord& r : history_->records()) minutes.insert(keyOf(r));
        return minutes;
    }

    // A minute that leaves the minutes at this step was folded into its hour: only a minute
    // older than the minutes' span before the present clock may be, whatever the newest record.
    void checkNothingFoldedTooSoon(const std::set<Key>& before) {
        std::set<Key> after = keptAsMinutes();
        int64_t cut = hourOf(static_cast<int32_t>(std::max<int64_t>(0, int64_t{clock_} - span_)));
        for (const Key& k : before) {
            if (std::get<0>(k) >= cut && mustKeep_.count(k) && !after.count(k)) lost(k);
        }
    }

    // Few files beside the history, whatever failed: the history's two and their generation
    // before, what waits, the copy of the user's lines (one, for the one file a user wrote),
    // and a temporary file or two that a failed delete left. A cut line is never a record.
    void checkFilesBeside() {
        int copies = 0;
        for (const auto& [path, bytes] : files_.files) {
            if (path.find(".BAK") != std::string::npos && path.find(".TMP") == std::string::npos)
                ++copies;
            for (const Key& k : recordsOf(path)) {
                if (std::get<1>(k) >= kCutMo && k != keyOf(cutRecordOf(std::get<0>(k))))
                    __builtin_trap();
            }
        }
        if (copies > 1 || files_.files.size() > 12) {
            if (std::getenv("HISTORY_LIFE_TRACE")) {
                for (const auto& [path, bytes] : files_.files) {
                    std::fprintf(stderr, "beside: %s (%zu bytes)\n", path.c_str(), bytes.size());
                }
            }
            __builtin_trap();
        }
    }

    // No minute of a history before the one the user last asked for, in memory or in the file
    // of the new history (its own while the old files have not moved aside).
    void checkNoOldHistory() {
        auto old = [&](const Key& k) {
            return std::get<1>(k) < kCutMo && std::get<4>(k) / kHistoryStep < oldest_;
        };
        for (const MinuteRecord& r : history_->records()) {
            if (old(keyOf(r))) lost(keyOf(r));
        }
        // A file that holds no minute of the newest history is not its file yet: an earlier
        // run's new history that a start could not look at, or the old history where a move
        // said it had gone (the program begins its own file by a move that never replaces,
        // which finds it there). Read back as the new history, its minutes show in memory.
        const std::set<Key>& file = recordsOf(history_->newHistoryWaiting() ? kNew : kCsv);
        if (std::none_of(file.begin(), file.end(), [&](const Key& k) {
                return std::get<4>(k) / kHistoryStep == generation_;
            })) {
            return;
        }
        for (const Key& k : file) {
            if (old(k)) lost(k);
        }
    }

    void checkNothingLost() {
        std::vector<const std::set<Key>*> files{&recordsOf(kCsv), &recordsOf(kWaiting),
                                                &recordsOf(kNew)};
        std::vector<const std::set<Key>*> hourFiles{&recordsOf(kHours)};
        for (const char* suffix : kOtherFiles) {
            files.push_back(&recordsOf(kCsv + suffix));
            hourFiles.push_back(&recordsOf(kHours + suffix));
        }
        const std::vector<MinuteRecord>& memory = history_->records();
        const std::vector<MinuteRecord>& memoryHours = history_->hours();
        // An hour keeps the widest of its minutes' figures and all their alerts.
        auto covers = [](const Key& hour, const Key& k) {
            return std::get<0>(hour) == hourOf(std::get<0>(k)) &&
                   std::get<1>(hour) <= std::get<1>(k) && std::get<2>(hour) >= std::get<2>(k) &&
                   std::get<6>(hour) >= std::get<6>(k) && std::get<7>(hour) >= std::get<7>(k) &&
                   (std::get<8>(hour) & std::get<8>(k)) == std::get<8>(k);
        };
        auto kept = [&](const Key& k) {
            if (std::get<0>(k) < newest_ - kept_) return true;  // older than the kept span
            for (const std::set<Key>* f : files) {
                if (f->count(k)) return true;
            }
            for (const std::set<Key>* f : hourFiles) {
                for (auto it = f->lower_bound(firstKeyOfMinute(hourOf(std::get<0>(k))));
                     it != f->end() && std::get<0>(*it) == hourOf(std::get<0>(k)); ++it) {
                    if (covers(*it, k)) return true;
                }
            }
            for (const MinuteRecord& h : memoryHours) {
                if (covers(keyOf(h), k)) return true;
            }
            auto it = std::lower_bound(
                memory.begin(), memory.end(), std::get<0>(k),
                [](const MinuteRecord& r, int32_t minute) { return r.minute < minute; });
            for (; it != memory.end() && it->minute == std::get<0>(k); ++it) {
                if (keyOf(*it) == k) return true;
            }
            return false;
        };
        for (const Key& k : mustKeep_) {
            if (!kept(k)) lost(k);
        }
        // The generation before the current one goes only once its successor is the old file.
        const std::set<Key>& old = recordsOf(kCsv + ".old");
        const std::set<Key>& oldHours = recordsOf(kHours + ".old");
        bool successorInPlace =
            std::all_of(successor_.begin(), successor_.end(), [&](const Key& k) {
                return std::get<0>(k) < newest_ - kept_ || old.count(k) ||
                       std::any_of(oldHours.begin(), oldHours.end(),
                                   [&](const Key& h) { return covers(h, k); });
            });
        if (!successorInPlace) {
            for (const Key& k : previous_) {
                if (!kept(k)) lost(k);
            }
        }
    }

    void checkForeignLinesKept() {
        std::string all = files_.contents(kCsv).value_or("");
        for (const char* suffix : kOtherFiles) all += files_.contents(kCsv + suffix).value_or("");
        all += files_.contents(kHours).value_or("");
        for (const std::string& line : foreign_) {
            if (all.find(line) == std::string::npos) __builtin_trap();
        }
    }

    FuzzedDataProvider& in_;
    fake::MemoryFiles files_;
    std::unique_ptr<History> history_;
    int32_t clock_ = 0;
    int32_t kept_ = 0;
    int32_t span_ = 0;
    int32_t newest_ = 0;
    bool newHistory_ = false;
    int32_t generation_ = 0;  // new histories asked for so far
    int32_t oldest_ = 0;      // the oldest history whose minutes the current one may hold
    int32_t oldestBefore_ = 0;
    bool wasWaiting_ = false;  // the history before the restart waited for the files
    // The records of a new history's file that a start could not look at, and the oldest
    // history they may hold.
    std::set<Key> earlier_;
    int32_t earlierOldest_ = 0;
    bool spreadsheetSaved_ = false;
    std::set<Key> lastOfOld_;  // the old history's last minutes, not in a file yet
    struct Parsed {
        bool valid = false;
        uint64_t changes = 0;
        std::set<Key> records;
    };
    std::map<std::string, Parsed> parsed_;
    std::set<Key> mustKeep_;
    std::set<Key> previous_;   // the generation a new history lets go of
    std::set<Key> successor_;  // the generation that must take its place first
    std::vector<std::string> foreign_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Life(in).run();
    return 0;
}
