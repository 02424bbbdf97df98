// Times the history through the Win32 layer Corvane.exe is made of: the file written by the
// real file system, the picture drawn by the real GDI code.
#include "bench_history.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "history/history.h"
#include "history/history_csv.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "win32/files_win32.h"
#include "win32/history_render.h"
#include "win32/system_win32.h"

namespace corvane::bench {

using win32::Win32Files;
using win32::Win32System;

namespace {

constexpr int32_t kThirtyDays = 30 * 24 * 60;
constexpr int kSamplesPerMinute = 60;  // the default refresh period is one second
constexpr int kSamplesPerRun = 100 * kSamplesPerMinute;

int32_t nowMinute(System& system) {
    auto minute = minuteOf(system.utcNow());
    if (!minute) throw wine::DriverError("the system's UTC time is out of the history's range");
    return *minute;
}

double recordingRun(const Setup& setup, Win32System& system, Win32Files& files, int run,
                    int32_t start) {
    std::string directory = setup.folder + "\\history-bench-" + std::to_string(run + 1) + "\\";
    wine::makeDirectories(directory);
    History history;
    history.open(files, directory, system.utcNow());
    HistorySample sample;
    sample.memoryMo = 2048;
    sample.inUseMo = 300;
    double begin = nowMs();
    for (int i = 0; i < kSamplesPerRun; ++i) {
        sample.minute = start + i / kSamplesPerMinute;
        sample.swapMo = 1024 + (i % 7);
        history.addSample(files, sample);
    }
    double took = nowMs() - begin;
    history.close(files);
    wine::deleteTree(directory);
    return took * 1000 / kSamplesPerRun;
}

MinuteRecord minuteAt(int32_t minute, int32_t i) {
    MinuteRecord r;
    r.minute = minute;
    // A swap file that grows and shrinks over the days, with a little noise.
    int32_t base = 1024 + ((i / 1440) % 60) * 16 + (i % 1440) / 24;
    r.minMo = base - (i % 5);
    r.maxMo = base + (i % 3);
    r.lastMo = base;
    r.memoryMo = 3000 + (i % 600);
    r.inUseMo = i % 11 ? 200 + (i % 100) : kUnknownMo;
    // The commit and its limit, as today's Windows gives them, and the programs of a minute
    // when the swap file grew.
    r.commitMo = 6000 + (i % 900);
    r.commitLimitMo = 12000 + (i / 1440) % 64;
    if (i % 17 == 0) {
        r.programs = {{"firefox.exe", 4120, 1800, 120},
                      {"Code.exe", 9312, 950, 4},
                      {"explorer.exe", 3004, 210, 0}};
    }
    return r;
}

// 400 days of minutes ending now.
std::vector<MinuteRecord> fourHundredDays(int32_t now) {
    constexpr int32_t kMinutes = 400 * 1440;
    std::vector<MinuteRecord> records;
    records.reserve(kMinutes);
    for (int32_t i = 0; i < kMinutes; ++i) records.push_back(minuteAt(now - kMinutes + 1 + i, i));
    return records;
}

std::vector<MinuteRecord> thirtyDays(int32_t now) {
    std::vector<MinuteRecord> records;
    records.reserve(kThirtyDays);
    for (int32_t i = 0; i < kThirtyDays; ++i) {
        MinuteRecord r;
        r.minute = now - kThirtyDays + 1 + i;
        // A swap file that grows and shrinks over the days, with a little noise.
        int32_t base = 1024 + (i / 1440) * 16 + (i % 1440) / 24;
        r.minMo = base - (i % 5);
        r.maxMo = base + (i % 3);
        r.lastMo = base;
        r.memoryMo = 3000 + (i % 600);
        r.inUseMo = i % 11 ? 200 + (i % 100) : kUnknownMo;
        records.push_back(r);
    }
    return records;
}

}  // namespace

void removeHistory(const std::string& folder) {
    for (const char* name : {"Corvane.csv", "Corvane-heures.csv"}) {
        DeleteFileA((folder + "\\" + name).c_str());
    }
}

void writeFourHundredDays(const std::string& folder, bool oneFile) {
    Win32System system;
    Win32Files files;
    std::vector<MinuteRecord> minutes = fourHundredDays(nowMinute(system));
    removeHistory(folder);
    if (oneFile) {
        // Earlier versions knew nothing of the commit.
        for (MinuteRecord& r : minutes) {
            r.commitMo = r.commitLimitMo = kUnknownMo;
            r.programs.clear();
        }
        files.writeFile(folder + "\\Corvane.csv", historyText(minutes));
        return;
    }
    int32_t cut = hourOf(minutes.back().minute - History::kMinuteDays * 1440);
    auto split = std::lower_bound(
        minutes.begin(), minutes.end(), MinuteRecord{cut},
        [](const MinuteRecord& a, const MinuteRecord& b) { return a.minute < b.minute; });
    files.writeFile(folder + "\\Corvane-heures.csv",
                    historyText(hoursOf({minutes.begin(), split}), kHourHeader));
    files.writeFile(folder + "\\Corvane.csv", historyText({split, minutes.end()}));
}

HistoryTimes measureHistory(const Setup& setup, int runs) {
    Win32System system;
    Win32Files files;
    int32_t now = nowMinute(system);
    std::vector<double> recording, drawing;
    // One run of each first, unmeasured, to fill the caches.
    for (int run = -1; run < runs; ++run) {
        // 100 minutes of samples, ending now.
        double r =
            recordingRun(setup, system, files, run, now - kSamplesPerRun / kSamplesPerMinute);
        if (run >= 0) recording.push_back(r);
    }
    std::vector<MinuteRecord> records = thirtyDays(now);
    AnalysisFigures analysis{true, 1000, 1600, 1300};
    for (int run = -1; run < runs; ++run) {
        double begin = nowMs();
        // The window's size at 96 dpi.
        win32::drawHistoryToMemoryDc(system, records, analysis, HistoryRange::Month, now, 820, 480);
        double took = nowMs() - begin;
        if (run >= 0) drawing.push_back(took);
    }
    // "Tout" over 400 days: the first reading of the files, then the drawing.
    std::string directory = setup.folder + "\\history-bench-all";
    wine::makeDirectories(directory);
    writeFourHundredDays(directory);
    std::vector<double> loading, all;
    for (int run = -1; run < runs; ++run) {
        History history;
        history.open(files, directory + "\\", system.utcNow());
        double begin = nowMs();
        history.load(files, std::numeric_limits<int32_t>::min());
        double loaded = nowMs();
        win32::drawHistoryToMemoryDc(system, history.hours(), history.records(), analysis,
                                     HistoryRange::All, now, 820, 480);
        double drawn = nowMs();
        if (run < 0) continue;
        loading.push_back(loaded - begin);
        all.push_back(drawn - loaded);
    }
    wine::deleteTree(directory);
    return {median(recording), median(drawing), median(loading), median(all)};
}

}  // namespace corvane::bench
