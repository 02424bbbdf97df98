// corvane-drive: the driver from the command line, for scripts (make run's screenshot,
// benchmarks). Every command finds the first visible window of the class, from any process.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver.h"

using namespace corvane::wine;

namespace {

int usage() {
    std::fputs(
        "usage: corvane-drive COMMAND ...\n"
        "  wait-window CLASS [MS]          wait for the window; print its caption\n"
        "  wait-text CLASS ID PREFIX [MS]  wait until control ID's text starts with PREFIX\n"
        "  text CLASS [ID]                 print the caption, or control ID's text\n"
        "  screenshot CLASS|- FILE.png     save the window (or the screen) as PNG\n"
        "  tick CLASS [TIMER]              post a WM_TIMER (default timer 10)\n"
        "  close CLASS                     post WM_CLOSE\n",
        stderr);
    return 2;
}

DWORD timeoutArg(int argc, char** argv, int index) {
    return index < argc ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10)) : kTimeoutMs;
}

int run(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const std::string className = argv[2];
    if (command == "screenshot" && argc == 4) {
        Window window;
        if (className != "-") window = waitWindow(0, className);
        saveScreenshot(window, argv[3]);
        return 0;
    }
    if (command == "wait-window") {
        std::printf("%s\n", waitWindow(0, className, timeoutArg(argc, argv, 3)).text().c_str());
        return 0;
    }
    Window window = waitWindow(0, className);
    if (command == "wait-text" && argc >= 5) {
        std::printf(
            "%s\n",
            window.waitControlText(std::atoi(argv[3]), argv[4], timeoutArg(argc, argv, 5)).c_str());
    } else if (command == "text") {
        std::printf("%s\n",
                    (argc > 3 ? window.controlText(std::atoi(argv[3])) : window.text()).c_str());
    } else if (command == "tick") {
        window.postTimer(argc > 3 ? std::atoi(argv[3]) : 10);
    } else if (command == "close") {
        window.postClose();
    } else {
        return usage();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const DriverError& error) {
        std::fprintf(stderr, "corvane-drive: %s\n", error.what());
        return 1;
    }
}
