// The sampling tick measured inside this process: the program's own main window and platform
// layer, built as Corvane.exe builds them, then the same system calls made by hand on the same
// window's labels. Runs of the two alternate so that both see the same machine.
#include "bench_tick.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "win32/page_files.h"
#include "win32/program.h"

namespace corvane::bench {

namespace {

using namespace corvane::win32;

constexpr int kTicksPerRun = 300;

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BOOL WINAPI matchPageFile(LPVOID context, PageFileInformation* info, LPCWSTR name) {
    if (!info || !name) return TRUE;
    if (std::wcsncmp(name, L"\\??\\", 4) == 0) name += 4;
    return lstrcmpiW(name, static_cast<const wchar_t*>(context)) != 0;
}

// The tick's system calls by hand: the swap file's size as the layer looks it up (Windows's
// list of paging files, then the directory entry), the memory status, the tick count, the
// minimised state, and the labels whose text changed.
class BareTick {
public:
    BareTick(HWND main, const std::string& pagefile)
        : main_(main),
          enumPageFiles_(enumPageFiles()),
          pagefile_(pagefile),
          widePagefile_(wine::fromUtf8(pagefile)),
          start_(GetTickCount64()) {
        wine::Window window(main);
        labels_[0] = window.control(5).handle();  // swap
        labels_[1] = window.control(6).handle();  // MemLibre
        labels_[2] = window.control(7).handle();  // DebutWin
    }

    void run() {
        uint64_t bytes = 0;
        if (enumPageFiles_)
            enumPageFiles_(matchPageFile, const_cast<wchar_t*>(widePagefile_.c_str()));
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pagefile_.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            bytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
        MEMORYSTATUSEX memory{};
        memory.dwLength = sizeof memory;
        GlobalMemoryStatusEx(&memory);
        ULONGLONG elapsed = GetTickCount64() - start_;
        IsIconic(main_);

        int current = static_cast<int>(std::nearbyint(static_cast<double>(bytes) / kMiB));
        samples_ += 1;
        total_ += current;
        minimum_ = std::min(minimum_, current);
        maximum_ = std::max(maximum_, current);
        char texts[3][160];
        std::snprintf(texts[0], sizeof texts[0],
                      "SWAP: %d Mo  Mini: %d Mo  Maxi: %d Mo  Moy: %d Mo", current, minimum_,
                      maximum_, static_cast<int>(std::nearbyint(total_ / samples_)));
        unsigned totalMo = static_cast<unsigned>((memory.ullTotalPhys + 640000) / kMiB);
        std::snprintf(texts[1], sizeof texts[1],
                      "Occupation RAM : %u/%u Mo    Ressources utilis\xe9"
                      "es : %lu%%",
                      totalMo - static_cast<unsigned>(memory.ullAvailPhys / kMiB), totalMo,
                      memory.dwMemoryLoad);
        std::snprintf(texts[2], sizeof texts[2], " %u s",
                      static_cast<unsigned>(elapsed / 1000 % 60));
        for (int i = 0; i < 3; ++i) {
            if (shown_[i] == texts[i]) continue;
            shown_[i] = texts[i];
            SetWindowTextA(labels_[i], texts[i]);
        }
    }

private:
    HWND main_;
    HWND labels_[3];
    EnumPageFilesFn enumPageFiles_;
    std::string pagefile_;
    std::wstring widePagefile_;
    ULONGLONG start_;
    std::string shown_[3];
    double samples_ = 0, total_ = 0;
    int minimum_ = 32767, maximum_ = 0;
};

}  // namespace

// The tick as it is with the "Mémoire virtuelle" window closed, as it is most of the time: the
// window is never opened here. Its scan of the programs, once a minute, falls in none of the
// ticks measured but the first (at the start-up), or else in one tick of many, which the
// median leaves out; its own time is a row of its own (bench_memory.cpp).
TickTimes measureTick(const Setup& setup, int runs) {
    Win32Program program(GetModuleHandleW(nullptr));
    MainWindow& core = program.core();
    Win32MainView& view = program.view();
    core.onLoad();
    if (core.ended()) throw wine::DriverError("Corvane's start-up ended inside the benchmark");
    view.showCentred(SW_SHOWNOACTIVATE);
    pumpMessages();

    BareTick bare(view.handle(), setup.pagefile);
    std::vector<double> realRuns, bareRuns;
    int sizeStep = 0;
    auto timed = [&](auto&& tick) {
        std::vector<double> times;
        for (int i = 0; i < kTicksPerRun; ++i) {
            // A new size at each tick, so that the swap label changes as it does while the
            // file grows; the paint it asks for is left out of both measures.
            wine::setFileSize(setup.pagefile, (64 + (sizeStep++ % 2)) * kMiB);
            pumpMessages();
            double start = nowMs();
            tick();
            times.push_back((nowMs() - start) * 1000);
        }
        return median(times);
    };
    for (int run = -1; run < runs; ++run) {
        double real = timed([&] { core.onTimer(TimerId::MainTimer1); });
        double byHand = timed([&] { bare.run(); });
        if (run < 0) continue;  // the first run of each warms the caches
        realRuns.push_back(real);
        bareRuns.push_back(byHand);
    }
    view.endProgram();
    return {median(realRuns), median(bareRuns)};
}

}  // namespace corvane::bench
