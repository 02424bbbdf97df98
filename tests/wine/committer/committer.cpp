// A program that holds a known commit charge for the tests: commits the Mo it is given, writes
// every page of them (a system that commits lazily, as Wine's host does, counts only what is
// touched), sets the named event it is given, and waits to be ended. Given a step and a period
// as well, it goes on committing that step at each period, steadily, as far as 4 Go in all.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

bool commitTouched(SIZE_T bytes) {
    auto* memory = static_cast<volatile char*>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!memory) return false;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    for (SIZE_T at = 0; at < bytes; at += info.dwPageSize) memory[at] = 1;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const SIZE_T kMo = 1048576;
    SIZE_T mo = std::wcstoul(argv[1], nullptr, 10);
    if (!commitTouched(mo * kMo)) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready) return 3;
    SetEvent(ready);
    if (argc >= 5) {
        const SIZE_T stepMo = std::wcstoul(argv[3], nullptr, 10);
        const DWORD everyMs = std::wcstoul(argv[4], nullptr, 10);
        while (stepMo > 0 && mo + stepMo <= 4096) {
            Sleep(everyMs);
            if (!commitTouched(stepMo * kMo)) break;
            mo += stepMo;
        }
    }
    Sleep(INFINITE);
    return 0;
}
