// Times the advice window through the program's own main window and Win32 layer, over 400 days
// of history in the program's folder. The window is closed as the user closes it, between the
// openings.
#include "bench_advice.h"

#include <vector>

#include "bench_history.h"
#include "win32/advice_view.h"
#include "win32/program.h"

namespace corvane::bench {

namespace {

using namespace corvane::win32;

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

// As the user closes it: the window is hidden, kept for the next opening.
void closeAdvice() {
    if (HWND advice = FindWindowA(kAdviceWindowClass, nullptr))
        SendMessageA(advice, WM_CLOSE, 0, 0);
    pump();
}

}  // namespace

AdviceTimes measureAdvice(int runs) {
    const std::string folder = programFolder();
    writeFourHundredDays(folder);
    AdviceTimes times{};
    {
        Win32Program program(GetModuleHandleW(nullptr));
        MainWindow& core = program.core();
        core.onLoad();
        if (core.ended()) throw wine::DriverError("Corvane's start-up ended inside the benchmark");
        program.view().showCentred(SW_SHOWNOACTIVATE);
        pump();
        auto timed = [&](auto&& work) {
            double start = nowMs();
            work();
            return nowMs() - start;
        };
        times.firstOpenMs = timed([&] { core.onMenu(MenuItem::pageFileAdvice); });
        pump();
        closeAdvice();
        std::vector<double> opens, painted, ticks, openedAndTicked;
        for (int run = 0; run < runs; ++run) {
            double open = timed([&] { core.onMenu(MenuItem::pageFileAdvice); });
            opens.push_back(open);
            painted.push_back(open + timed(pump));
            double tick = timed([&] { core.onTimer(TimerId::MainTimer1); });
            ticks.push_back(tick);
            openedAndTicked.push_back(open + tick);
            pump();
            closeAdvice();
        }
        times.openMs = median(opens);
        times.paintedMs = median(painted);
        times.tickMs = median(ticks);
        times.openAndTickMs = median(openedAndTicked);
        program.view().endProgram();
    }
    removeHistory(folder);
    return times;
}

}  // namespace corvane::bench
