// The tests' program that holds a known commit charge, started and waited for until it holds it.
#pragma once

#include <windows.h>

#include <string>

#include "driver.h"

namespace corvane::wine {

// The folder of the running suite, where CorvaneCommit.exe is built beside it.
inline std::string suiteFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string text = toUtf8(std::wstring(path, n));
    return text.substr(0, text.rfind('\\'));
}

// Starts CorvaneCommit.exe committing `mo` Mo and returns once every page of them is written;
// given a step, it then commits `stepMo` more every `everyMs` ms while it runs.
inline Process startCommitter(int mo, int stepMo = 0, int everyMs = 0) {
    std::wstring name = L"CorvaneCommitHeld" + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    if (!ready) throw DriverError("CreateEvent: " + lastErrorText());
    Process committer = Process::start(
        suiteFolder() + "\\CorvaneCommit.exe",
        std::to_string(mo) + " " + toUtf8(name) +
            (stepMo > 0 ? " " + std::to_string(stepMo) + " " + std::to_string(everyMs) : ""));
    DWORD waited = WaitForSingleObject(ready, kTimeoutMs);
    CloseHandle(ready);
    if (waited != WAIT_OBJECT_0)
        throw DriverError("CorvaneCommit.exe did not commit its memory in time");
    return committer;
}

}  // namespace corvane::wine
