// The room of a page file's volume: GetDiskFreeSpaceExW where Windows has it (95 OSR2 and
// later), the cluster counts of GetDiskFreeSpaceA before it.
#include <windows.h>

#include "win32/function_lookup.h"
#include "win32/virtual_memory_win32.h"

namespace corvane::win32 {

std::optional<VolumeSpace> Win32VirtualMemory::volumeSpace(const std::string& path) {
    // Only a drive letter's root: a page file is never on a network share.
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::nullopt;
    char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
        return std::nullopt;
    const char root[] = {letter, ':', '\\', '\0'};
    // A drive with no medium answers with nothing, not with a dialog at each tick.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::optional<VolumeSpace> space;
    static const auto freeSpaceEx = CORVANE_PROCEDURE("kernel32.dll", GetDiskFreeSpaceExW);
    if (freeSpaceEx) {
        const wchar_t wideRoot[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        ULARGE_INTEGER available{}, total{}, free{};
        if (freeSpaceEx(wideRoot, &available, &total, &free))
            space = VolumeSpace{available.QuadPart, total.QuadPart};
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                              &clusters)) {
            uint64_t cluster = uint64_t{sectorsPerCluster} * bytesPerSector;
            space = VolumeSpace{cluster * freeClusters, cluster * clusters};
        }
    }
    SetErrorMode(oldMode);
    return space;
}

}  // namespace corvane::win32
