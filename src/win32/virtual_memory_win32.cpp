// Reading the commit charge, the page files and the programs' commit from Windows. None of these
// functions exists on Windows 95 or NT 4: each is looked up once, and a missing one makes the
// figure "not supported" rather than keeping the program from loading.
#include "win32/virtual_memory_win32.h"

// psapi.h and tlhelp32.h need windows.h before them; only their records are used here.
#include <psapi.h>
#include <tlhelp32.h>

#include <cwchar>

#include "memory/memory_figures.h"
#include "platform/callback_guard.h"
#include "win32/function_lookup.h"
#include "win32/page_files.h"
#include "win32/system_library.h"

namespace corvane::win32 {

namespace {

using PerformanceFn = BOOL(WINAPI*)(PPERFORMANCE_INFORMATION, DWORD);
using MemoryInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
using SnapshotFn = decltype(&::CreateToolhelp32Snapshot);
using ProcessWalkFn = decltype(&::Process32FirstW);
using ProcessTimesFn = decltype(&::GetProcessTimes);
using IsWow64Fn = decltype(&::IsWow64Process);

// Vista's smaller right, enough for the memory counters of most processes, even the system's.
constexpr DWORD kQueryLimited = 0x1000;

template <class Fn>
Fn kernel32Function(const char* name) {
    return procedure<Fn>("kernel32.dll", name);
}

// kernel32's own copy first (Windows 7 and later): it spares loading psapi.dll.
template <class Fn>
Fn kernelOrPsapi(const char* kernelName, const char* psapiName) {
    if (Fn fn = kernel32Function<Fn>(kernelName)) return fn;
    return systemFunction<Fn>("psapi.dll", psapiName);
}

std::string utf8(const wchar_t* text) {
    int length = static_cast<int>(std::wcslen(text));
    if (length == 0) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

uint64_t systemPageSize() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwPageSize ? info.dwPageSize : 4096;
}

struct PageFileList {
    uint64_t pageSize;
    std::vector<PageFileUse> files;
    bool failed = false;
};

BOOL WINAPI collectPageFile(LPVOID context, PageFileInformation* info, LPCWSTR fileName) {
    auto* list = static_cast<PageFileList*>(context);
    if (!info || !fileName) return TRUE;
    return guardedCallback(list->failed, [&] {
        const wchar_t* name = fileName;
        if (std::wcsncmp(name, L"\\??\\", 4) == 0) name += 4;
        list->files.push_back({utf8(name), pagesToBytes(info->totalSize, list->pageSize),
                               pagesToBytes(info->totalInUse, list->pageSize),
                               pagesToBytes(info->peakUsage, list->pageSize)});
        return true;
    });
}

HANDLE openForCounters(DWORD pid) {
    if (HANDLE process = OpenProcess(kQueryLimited, FALSE, pid)) return process;
    // Before Vista the counters need the full query right and the right to read memory.
    return OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
}

// Whether `process` runs under WoW64 (a 32-bit process on 64-bit Windows); nothing where the
// system cannot say (before XP SP2 it has no such function, and no 64-bit processes either).
std::optional<bool> runsUnderWow64(HANDLE process) {
    static const auto isWow64 = kernel32Function<IsWow64Fn>("IsWow64Process");
    BOOL wow = FALSE;
    if (!isWow64 || !isWow64(process, &wow)) return std::nullopt;
    return wow != FALSE;
}

// Whether the counters read of `process` carry its commit in a field too small for it: this
// program's counters are 32 bits wide, and it runs on 64-bit Windows, where a process that is
// not itself a 32-bit one (or cannot be told) may hold 4 GiB or more.
bool commitMayBeCapped(HANDLE process) {
    if constexpr (sizeof(SIZE_T) >= 8) {
        (void)process;
        return false;
    } else {
        static const bool onWow64 = runsUnderWow64(GetCurrentProcess()).value_or(false);
        return onWow64 && !runsUnderWow64(process).value_or(false);
    }
}

}  // namespace

std::optional<CommitCharge> Win32VirtualMemory::commitCharge() {
    static const auto performance =
        kernelOrPsapi<PerformanceFn>("K32GetPerformanceInfo", "GetPerformanceInfo");
    if (!performance) return std::nullopt;
    PERFORMANCE_INFORMATION info{};
    info.cb = sizeof info;
    if (!performance(&info, sizeof info)) return std::nullopt;
    uint64_t page = info.PageSize ? info.PageSize : systemPageSize();
    return CommitCharge{pagesToBytes(info.CommitTotal, page), pagesToBytes(info.CommitLimit, page),
                        pagesToBytes(info.CommitPeak, page)};
}

Listing<PageFileUse> Win32VirtualMemory::pageFiles() {
    EnumPageFilesFn enumerate = enumPageFiles();
    if (!enumerate) return {false, {}};
    PageFileList list{systemPageSize(), {}};
    // A failing list (Wine has no page file and says so by failing) lists none; so does one
    // that memory ran out in.
    if (!enumerate(collectPageFile, &list) || list.failed) list.files.clear();
    return {true, std::move(list.files)};
}

Listing<ProcessCommit> Win32VirtualMemory::processes() {
    static const auto snapshot = kernel32Function<SnapshotFn>("CreateToolhelp32Snapshot");
    static const auto first = kernel32Function<ProcessWalkFn>("Process32FirstW");
    static const auto next = kernel32Function<ProcessWalkFn>("Process32NextW");
    static const auto times = kernel32Function<ProcessTimesFn>("GetProcessTimes");
    static const auto counters =
        kernelOrPsapi<MemoryInfoFn>("K32GetProcessMemoryInfo", "GetProcessMemoryInfo");
    Listing<ProcessCommit> list;
    if (!snapshot || !first || !next || !counters) return list;
    list.supported = true;
    HANDLE all = snapshot(TH32CS_SNAPPROCESS, 0);
    if (all == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(all, &entry); more; more = next(all, &entry)) {
        if (entry.th32ProcessID == 0) continue;  // the idle process holds nothing
        HANDLE process = openForCounters(entry.th32ProcessID);
        if (!process) continue;  // a process this user may not look at
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (counters(process, &memory, sizeof memory)) {
            ProcessCommit p;
            p.pid = entry.th32ProcessID;
            p.name = utf8(entry.szExeFile);
            // The commit charge of a process: Windows gives it as PagefileUsage (and again as
            // the larger record's PrivateUsage, which Wine leaves empty).
            p.commitBytes = memory.PagefileUsage;
            p.commitCapped = commitMayBeCapped(process);
            FILETIME created, exited, kernel, user;
            if (times && times(process, &created, &exited, &kernel, &user)) {
                p.started =
                    (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
            }
            list.items.push_back(std::move(p));
        }
        CloseHandle(process);
    }
    CloseHandle(all);
    return list;
}

}  // namespace corvane::win32
