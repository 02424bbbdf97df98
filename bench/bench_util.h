// What the benchmark's parts share: where the programs are, the prefix's paging set-up, a
// clock and medians.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"

namespace corvane::bench {

inline constexpr uint64_t kMiB = 1048576;
inline constexpr const char* kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Corvane";
inline constexpr const char* kSettingsSectionKey =
    "Software\\VB and VBA Program Settings\\Corvane\\Paramètres";

inline double nowMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perMs;
}

inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline uint64_t fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wine::fromUtf8(path).c_str(), GetFileExInfoStandard, &data)) {
        throw wine::DriverError("cannot read the size of " + path + ": " + wine::lastErrorText());
    }
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

inline std::string environment(const char* name, const std::string& fallback = "") {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

struct Setup {
    std::string corvaneExe;    // as built
    std::string folder;        // where Corvane is installed for the benchmark
    std::string installedExe;  // the copy in `folder`
    std::string floorExe;      // a copy in `folder` too, so that both start from one place
    std::string taskmgrExe;    // empty where the system has none
    std::string pagefile = "C:\\pagefile.sys";
    int runs = 7;
    int memoryTicks = 100000;

    static Setup fromEnvironment() {
        Setup s;
        s.corvaneExe = environment("CORVANE_EXE");
        std::string floor = environment("CORVANE_FLOOR_EXE");
        if (s.corvaneExe.empty() || floor.empty()) {
            throw wine::DriverError("CORVANE_EXE and CORVANE_FLOOR_EXE must name the programs");
        }
        s.folder = environment("CORVANE_BENCH_FOLDER", "C:\\corvane-bench");
        s.runs = std::max(5, std::atoi(environment("CORVANE_BENCH_RUNS", "7").c_str()));
        s.memoryTicks =
            std::max(200, std::atoi(environment("CORVANE_BENCH_TICKS", "100000").c_str()));
        std::string taskmgr = environment("CORVANE_PEER_EXE", "C:\\windows\\system32\\taskmgr.exe");
        if (wine::fileExists(taskmgr)) s.taskmgrExe = taskmgr;
        wine::deleteTree(s.folder);
        wine::makeDirectories(s.folder);
        s.installedExe = s.folder + "\\Corvane.exe";
        wine::copyFileTo(s.corvaneExe, s.installedExe);
        s.floorExe = s.folder + "\\CorvaneFloor.exe";
        wine::copyFileTo(floor, s.floorExe);
        return s;
    }
};

// No saved statistics, a period of a minute (only the ticks the benchmark gives are taken),
// and a 64 MiB paging file that the paging configuration names.
inline void prepareStore(const Setup& setup) {
    wine::deleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    wine::setString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement", "60");
    wine::setMultiString(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles",
                         {setup.pagefile + " 64 128"});
    wine::setFileSize(setup.pagefile, 64 * kMiB);
}

}  // namespace corvane::bench
