// make bench: Corvane's start-up, sampling tick, memory and size, each measured side by side in
// the same run with what it is compared to, every figure the median of several runs. It prints
// one table; nothing here fails for being slow (only for being unable to measure).
#include <windows.h>
// psapi.h needs windows.h before it.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_advice.h"
#include "bench_history.h"
#include "bench_memory.h"
#include "bench_tick.h"
#include "bench_util.h"
#include "driver.h"

using namespace corvane::wine;
using namespace corvane::bench;

namespace {

constexpr int kSwapLabel = 5;
constexpr int kTimer1 = 10;
constexpr const char* kMainClass = "CorvaneMainWindow";

// Time from CreateProcess until `ready` says the program shows what is waited for.
double launchUntil(const std::string& exe, const std::string& folder,
                   const std::function<bool(DWORD)>& ready) {
    double start = nowMs();
    Process program = Process::start(exe, "", folder);
    while (!ready(program.id())) {
        if (nowMs() - start > 60000) throw DriverError(exe + " showed nothing within 60 s");
        if (!program.running()) throw DriverError(exe + " ended before it showed anything");
        Sleep(1);
    }
    double took = nowMs() - start;
    program.kill();
    return took;
}

bool showsFirstSample(DWORD pid) {
    for (const Window& w : topWindows(pid, kMainClass)) {
        if (w.hasControl(kSwapLabel) && w.controlText(kSwapLabel).rfind("SWAP: ", 0) == 0)
            return true;
    }
    return false;
}

bool showsItsWindow(DWORD pid) {
    return !topWindows(pid, kMainClass).empty();
}
bool showsAnyWindow(DWORD pid) {
    return !topWindows(pid).empty();
}

struct Startup {
    double corvane, corvaneWindow, floor, taskmgr;
};

Startup measureStartup(const Setup& setup, int runs) {
    std::vector<double> corvane, corvaneWindow, floor, taskmgr;
    // Once each first, unmeasured: the first start of a program fills Wine's caches.
    for (int run = -1; run < runs; ++run) {
        double c = launchUntil(setup.installedExe, setup.folder, showsFirstSample);
        double w = launchUntil(setup.installedExe, setup.folder, showsItsWindow);
        double f = launchUntil(setup.floorExe, setup.folder, showsItsWindow);
        double t = setup.taskmgrExe.empty() ? 0 : launchUntil(setup.taskmgrExe, "", showsAnyWindow);
        if (run < 0) continue;
        corvane.push_back(c);
        corvaneWindow.push_back(w);
        floor.push_back(f);
        taskmgr.push_back(t);
    }
    return {median(corvane), median(corvaneWindow), median(floor), median(taskmgr)};
}

// Start-up with no history and with 400 days of it, side by side, and the memory once
// started.
struct HistoryStartup {
    double empty, full, oneFile;       // to the first sample shown, ms
    double emptyKiB, fullKiB;          // private bytes once started
    double emptyPeakKiB, fullPeakKiB;  // the most committed during start-up
};

void startedMemory(const Setup& setup, double& privateKiB, double& peakKiB) {
    Process corvane = Process::start(setup.installedExe, "", setup.folder);
    Window main = waitWindow(corvane.id(), kMainClass, 60000);
    main.waitControlText(kSwapLabel, "SWAP: ", 60000);
    Sleep(300);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(corvane.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    privateKiB = static_cast<double>(bytes) / 1024;
    peakKiB = static_cast<double>(counters.PeakPagefileUsage) / 1024;
    corvane.kill();
}

HistoryStartup measureHistoryStartup(const Setup& setup, int runs) {
    std::vector<double> empty, full, oneFile, emptyKiB, fullKiB, emptyPeak, fullPeak;
    for (int run = -1; run < runs; ++run) {
        prepareStore(setup);
        removeHistory(setup.folder);
        double e = launchUntil(setup.installedExe, setup.folder, showsFirstSample);
        double em = 0, ep = 0;
        startedMemory(setup, em, ep);
        writeFourHundredDays(setup.folder);
        double f = launchUntil(setup.installedExe, setup.folder, showsFirstSample);
        double fm = 0, fp = 0;
        startedMemory(setup, fm, fp);
        writeFourHundredDays(setup.folder, true);
        double o = launchUntil(setup.installedExe, setup.folder, showsFirstSample);
        if (run < 0) continue;
        empty.push_back(e);
        full.push_back(f);
        oneFile.push_back(o);
        emptyKiB.push_back(em);
        fullKiB.push_back(fm);
        emptyPeak.push_back(ep);
        fullPeak.push_back(fp);
    }
    removeHistory(setup.folder);
    return {median(empty),   median(full),      median(oneFile), median(emptyKiB),
            median(fullKiB), median(emptyPeak), median(fullPeak)};
}

struct MemoryFigures {
    double privateKiB = 0;
    DWORD gdi = 0;
    DWORD user = 0;
};

MemoryFigures memoryOf(HANDLE process) {
    MemoryFigures m;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        // Windows gives the commit charge twice, as PrivateUsage and as PagefileUsage; Wine
        // fills only the second.
        SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        m.privateKiB = static_cast<double>(bytes) / 1024;
    }
    m.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    m.user = GetGuiResources(process, GR_USEROBJECTS);
    return m;
}

// Posts ticks in batches and waits for each batch to be taken: as fast as the program takes
// them. The swap file changes size between batches, so that the labels change too.
void driveTicks(const Window& main, int count, const std::string& pagefile, int& batchNumber) {
    constexpr int kBatch = 100;
    for (int done = 0; done < count;) {
        int batch = std::min(kBatch, count - done);
        setFileSize(pagefile, (64 + (batchNumber++ % 2)) * kMiB);
        for (int i = 0; i < batch; ++i) main.postTimer(kTimer1);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(main.handle(), WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result)) {
            throw DriverError("Corvane stopped taking ticks: " + lastErrorText());
        }
        done += batch;
    }
}

struct Memory {
    MemoryFigures after100, afterAll;
    double ticksPerSecond;
};

Memory measureMemory(const Setup& setup, int runs, int ticks) {
    std::vector<double> private100, privateAll, gdi100, gdiAll, user100, userAll, rate;
    for (int run = 0; run < runs; ++run) {
        prepareStore(setup);
        Process corvane = Process::start(setup.installedExe, "", setup.folder);
        Window main = waitWindow(corvane.id(), kMainClass, 60000);
        main.waitControlText(kSwapLabel, "SWAP: ", 60000);
        int batchNumber = 0;
        driveTicks(main, 100, setup.pagefile, batchNumber);
        MemoryFigures a = memoryOf(corvane.handle());
        double start = nowMs();
        driveTicks(main, ticks - 100, setup.pagefile, batchNumber);
        rate.push_back((ticks - 100) / ((nowMs() - start) / 1000));
        MemoryFigures b = memoryOf(corvane.handle());
        private100.push_back(a.privateKiB);
        privateAll.push_back(b.privateKiB);
        gdi100.push_back(a.gdi);
        gdiAll.push_back(b.gdi);
        user100.push_back(a.user);
        userAll.push_back(b.user);
        corvane.kill();
    }
    auto figures = [](double p, double g, double u) {
        return MemoryFigures{p, static_cast<DWORD>(g), static_cast<DWORD>(u)};
    };
    return {figures(median(private100), median(gdi100), median(user100)),
            figures(median(privateAll), median(gdiAll), median(userAll)), median(rate)};
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void row(const std::string& what, const std::string& corvane, const std::string& against,
         const std::string& ratio, const std::string& target, const std::string& met) {
    std::printf("| %-44s | %12s | %-28s | %8s | %-16s | %-4s |\n", what.c_str(), corvane.c_str(),
                against.c_str(), ratio.c_str(), target.c_str(), met.c_str());
}

const char* yesNo(bool met) {
    return met ? "yes" : "NO";
}

// The history's rows: recording is part of every tick (above), here alone and set against
// the whole tick; drawing is what the history window does at each record and each resize.
void historyRows(const HistoryTimes& history, const HistoryStartup& start, double tickUs) {
    row("history: recording one sample, us", fixed(history.recordUs, 1),
        "share of one tick: " + fixed(100 * history.recordUs / tickUs, 0) + " %", "", "", "");
    row("history: 30 days drawn (43 200 records), ms", fixed(history.drawMs, 1), "", "", "< 50 ms",
        yesNo(history.drawMs < 50));
    double ratio = start.full / start.empty;
    row("start-up, empty history, ms", fixed(start.empty, 1), "", "", "", "");
    row("start-up, 400 days of history, ms", fixed(start.full, 1),
        "empty: " + fixed(start.empty, 1), fixed(ratio, 2) + "x", "<= 1.1x empty",
        yesNo(ratio <= 1.1));
    row("start-up, 400 days in one file (earlier), ms", fixed(start.oneFile, 1),
        "empty: " + fixed(start.empty, 1), fixed(start.oneFile / start.empty, 2) + "x",
        "(for comparison)", "-");
    double more = start.fullKiB - start.emptyKiB;
    row("private bytes once started, 400 days, KiB", fixed(start.fullKiB, 0),
        "empty: " + fixed(start.emptyKiB, 0), "+" + fixed(more, 0), "<= empty + 2 MiB",
        yesNo(more <= 2048));
    double peakMore = start.fullPeakKiB - start.emptyPeakKiB;
    if (start.fullPeakKiB > 0) {
        row("peak during start-up, 400 days, KiB", fixed(start.fullPeakKiB, 0),
            "empty: " + fixed(start.emptyPeakKiB, 0), "+" + fixed(peakMore, 0), "<= empty + 8 MiB",
            yesNo(peakMore <= 8192));
    } else {
        row("peak during start-up", "-", "not reported by this system", "", "<= empty + 8 MiB",
            "-");
    }
    row("history: 400 days read for a view, ms", fixed(history.loadMs, 1), "(once)", "", "", "");
    row("history: \"Tout\" over 400 days drawn, ms", fixed(history.allMs, 1), "", "", "< 50 ms",
        yesNo(history.allMs < 50));
}

// The programs' scan: once a minute whatever the window, and at every refresh while it is open
// (then with the commit charge and the page files).
void scanRows(const ScanTimes& scan, double tickUs) {
    row("memory: one scan of the programs, us", fixed(scan.scanUs, 1),
        std::to_string(scan.processes) + " processes read",
        fixed(scan.scanUs / tickUs, 1) + " ticks", "once a minute", "");
    row("memory: the open window's refresh, us", fixed(scan.refreshUs, 1),
        "share of one tick: " + fixed(100 * scan.refreshUs / tickUs, 0) + " %", "", "", "");
}

}  // namespace

int main() {
    try {
        Setup setup = Setup::fromEnvironment();
        const int runs = setup.runs;
        std::fprintf(stderr, "bench: start-up, %d runs of each program...\n", runs);
        prepareStore(setup);
        Startup startup = measureStartup(setup, runs);
        std::fprintf(stderr, "bench: memory, %d runs of %d ticks...\n", runs, setup.memoryTicks);
        Memory memory = measureMemory(setup, runs, setup.memoryTicks);
        std::fprintf(stderr, "bench: one tick, %d runs...\n", runs);
        prepareStore(setup);
        TickTimes tick = measureTick(setup, runs);
        std::fprintf(stderr, "bench: the history, %d runs...\n", runs);
        HistoryTimes history = measureHistory(setup, runs);
        std::fprintf(stderr, "bench: the programs' scan, %d runs...\n", runs);
        ScanTimes scan = measureScan(runs);
        std::fprintf(stderr, "bench: start-up with and without a history, %d runs...\n", runs);
        HistoryStartup historyStart = measureHistoryStartup(setup, runs);
        std::fprintf(stderr, "bench: the page file's advice, %d runs...\n", runs);
        AdviceTimes advice = measureAdvice(runs);
        double exeKiB = static_cast<double>(fileSize(setup.corvaneExe)) / 1024;

        std::printf("| %-44s | %12s | %-28s | %8s | %-16s | %-4s |\n", "measure (median of runs)",
                    "Corvane", "against", "ratio", "target", "met");
        std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(),
                    std::string(14, '-').c_str(), std::string(30, '-').c_str(),
                    std::string(10, '-').c_str(), std::string(18, '-').c_str(),
                    std::string(6, '-').c_str());
        double floorRatio = startup.corvane / startup.floor;
        row("start-up to the first sample shown, ms", fixed(startup.corvane, 1),
            "floor window: " + fixed(startup.floor, 1), fixed(floorRatio, 2) + "x", "<= 1.2x floor",
            yesNo(floorRatio <= 1.2));
        row("start-up to its window shown, ms", fixed(startup.corvaneWindow, 1),
            "floor window: " + fixed(startup.floor, 1),
            fixed(startup.corvaneWindow / startup.floor, 2) + "x", "(where it goes)", "-");
        if (startup.taskmgr > 0) {
            row("start-up, against a peer monitor, ms", fixed(startup.corvane, 1),
                "taskmgr.exe: " + fixed(startup.taskmgr, 1),
                fixed(startup.corvane / startup.taskmgr, 2) + "x", "(for comparison)", "-");
        }
        double tickRatio = tick.realUs / tick.bareUs;
        row("one sampling tick, us", fixed(tick.realUs, 1), "bare calls: " + fixed(tick.bareUs, 1),
            fixed(tickRatio, 2) + "x", "<= 1.5x bare", yesNo(tickRatio <= 1.5));
        double growth = memory.afterAll.privateKiB - memory.after100.privateKiB;
        std::string ticks = std::to_string(setup.memoryTicks);
        row("private bytes after 100 ticks, KiB", fixed(memory.after100.privateKiB, 0), "", "", "",
            "");
        row("private bytes after " + ticks + " ticks, KiB", fixed(memory.afterAll.privateKiB, 0),
            "growth: " + fixed(growth, 0) + " KiB", "", "<= 64 KiB growth", yesNo(growth <= 64));
        bool guiReported = memory.after100.gdi || memory.afterAll.gdi || memory.after100.user ||
                           memory.afterAll.user;
        if (guiReported) {
            row("GDI objects after 100 / " + ticks + " ticks",
                std::to_string(memory.after100.gdi) + " / " + std::to_string(memory.afterAll.gdi),
                "", "", "no growth", yesNo(memory.afterAll.gdi <= memory.after100.gdi));
            row("USER objects after 100 / " + ticks + " ticks",
                std::to_string(memory.after100.user) + " / " + std::to_string(memory.afterAll.user),
                "", "", "no growth", yesNo(memory.afterAll.user <= memory.after100.user));
        } else {
            row("GDI and USER objects", "-", "not reported by this system", "", "no growth", "-");
        }
        row("ticks taken per second, driven", fixed(memory.ticksPerSecond, 0), "", "", "", "");
        row("size of Corvane.exe, KiB", fixed(exeKiB, 1), "", "", "<= 320 KiB",
            yesNo(exeKiB <= 320));
        historyRows(history, historyStart, tick.realUs);
        scanRows(scan, tick.realUs);
        row("advice: window opened and filled, 400 days, ms", fixed(advice.openMs, 2),
            "painted: " + fixed(advice.paintedMs, 2) +
                "; first time: " + fixed(advice.firstOpenMs, 1) + " (reads 30 days, makes it)",
            "", "", "");
        row("advice: one tick with its window open, ms", fixed(advice.tickMs, 2), "", "", "", "");
        row("advice: opened, then refreshed by a tick, ms", fixed(advice.openAndTickMs, 2), "", "",
            "< 5 ms", yesNo(advice.openAndTickMs < 5));
        return 0;
    } catch (const DriverError& error) {
        std::fprintf(stderr, "bench: %s\n", error.what());
        return 1;
    }
}
