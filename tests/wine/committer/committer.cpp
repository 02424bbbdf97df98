// A program that holds a known commit charge for the tests: commits the Mo it is given, writes
// every page of them (a system that commits lazily, as Wine's host does, counts only what is
// touched), sets the named event it is given, and waits to be ended.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    SIZE_T bytes = static_cast<SIZE_T>(std::wcstoul(argv[1], nullptr, 10)) * 1048576;
    auto* memory = static_cast<volatile char*>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!memory) return 1;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    for (SIZE_T at = 0; at < bytes; at += info.dwPageSize) memory[at] = 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready) return 3;
    SetEvent(ready);
    Sleep(INFINITE);
    return 0;
}
