// Times the history through the Win32 layer Corvane.exe is made of: the file written by the
// real file system, the picture drawn by the real GDI code.
#include "bench_history.h"

#include <vector>

#include "history/history.h"
#include "history/utc_minutes.h"
#include "win32/history_render.h"
#include "win32/win32_services.h"

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
    return {median(recording), median(drawing)};
}

}  // namespace corvane::bench
