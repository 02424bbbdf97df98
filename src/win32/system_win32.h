// The Win32 implementation of the system service: version, memory, clock, folders, the
// program's single instance.
#pragma once

#include <windows.h>

#include "common/ticks.h"
#include "platform/platform.h"

namespace corvane::win32 {

class Win32System : public System {
public:
    ~Win32System() override;
    bool getVersionEx(OsVersionRecord& record) override;
    SystemInfo getSystemInfo() override;
    MemoryStatus memoryStatus() override;
    uint64_t tickCount() override;
    std::string windowsDirectory() override;
    std::string applicationDirectory() override;
    std::string executableName() override;
    std::vector<int> programVersion() override;
    bool anotherInstanceRunning() override;
    DateTime localNow() override;
    DateTime utcNow() override;
    std::string formatShortDate(const DateTime& when) override;
    std::string formatTime(const DateTime& when) override;
    std::string formatShortTime(const DateTime& when) override;
    DateTime utcToLocal(const DateTime& utc) override;
    std::string decimalSeparator() override;
    std::string ansiToUtf8(const std::string& ansi) override;
    std::string expandEnvironment(const std::string& text) override;
    void pause(uint32_t milliseconds) override;

private:
    HANDLE instanceMutex_ = nullptr;
    HANDLE folderMutex_ = nullptr;
    // GetTickCount carried across its 49.7-day wrap where GetTickCount64 is missing.
    WideTicks ticks_;
};

}  // namespace corvane::win32
