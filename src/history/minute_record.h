// One minute of the swap file's history: what the samples of that minute saw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// A value Windows did not report for that minute.
inline constexpr int32_t kUnknownMo = -1;

// One of the programs holding the most commit at a minute worth naming them.
struct ProgramMark {
    std::string name{};  // UTF-8
    uint32_t pid = 0;
    int32_t commitMo = 0;
    int32_t hourGrowthMo = 0;  // over the hour before; below zero when it gave memory back

    bool operator==(const ProgramMark&) const = default;
};

// The alerts raised during a minute, one bit each.
enum AlertMark : uint8_t {
    kAlertCommit = 1,
    kAlertSwapGrowth = 2,
    kAlertMemory = 4,
};

struct MinuteRecord {
    int32_t minute = 0;             // whole minutes since 1970-01-01 00:00 UTC
    int32_t minMo = 0;              // smallest swap size of the minute
    int32_t maxMo = 0;              // largest swap size of the minute
    int32_t lastMo = 0;             // swap size at the minute's last sample
    int32_t memoryMo = 0;           // physical memory in use at the last sample
    int32_t inUseMo = kUnknownMo;   // part of the swap file in use, last reported in the minute
    int32_t commitMo = kUnknownMo;  // the largest commit charge of the minute
    int32_t commitLimitMo = kUnknownMo;  // the commit limit at that sample
    uint8_t alerts = 0;                  // AlertMark bits of the alerts raised in the minute
    // At a minute when the swap file grew or the commit passed nine tenths of its limit: the
    // three programs holding the most commit, largest first. Empty at any other minute.
    std::vector<ProgramMark> programs{};

    bool operator==(const MinuteRecord&) const = default;
};

}  // namespace corvane
