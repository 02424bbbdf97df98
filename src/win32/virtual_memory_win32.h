// The virtual memory's figures from Windows: the commit charge (GetPerformanceInfo), the page
// files (EnumPageFilesW) and each program's private bytes (a process snapshot and
// GetProcessMemoryInfo), every function looked up at its first use.
#pragma once

#include <windows.h>

#include "platform/virtual_memory.h"

namespace corvane::win32 {

class Win32VirtualMemory : public VirtualMemory {
public:
    std::optional<CommitCharge> commitCharge() override;
    Listing<PageFileUse> pageFiles() override;
    Listing<ProcessCommit> processes() override;
    std::optional<VolumeSpace> volumeSpace(const std::string& path) override;  // volume_space.cpp
};

}  // namespace corvane::win32
