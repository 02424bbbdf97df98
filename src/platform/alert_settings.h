// What the user asks to be told about: three thresholds, each switched on or off, and the
// ranges the alerts dialog accepts for them. Kept in the settings store.
#pragma once

#include <cstdint>

namespace corvane {

struct AlertSettings {
    bool commitOn = true;
    int32_t commitPercent = 90;  // of the commit limit
    bool swapGrowthOn = true;
    int32_t swapGrowthMo = 512;  // within an hour
    bool memoryOn = false;
    int32_t memoryPercent = 90;  // of the physical memory
    bool exhaustionOn = true;
    int32_t exhaustionHours = 6;  // before the commit reaches the limit it can attain
};

inline constexpr int32_t kAlertPercentMin = 1;
inline constexpr int32_t kAlertPercentMax = 100;
inline constexpr int32_t kAlertGrowthMoMin = 1;
// A swap file a terabyte larger within an hour: beyond that a threshold is a typing slip.
inline constexpr int32_t kAlertGrowthMoMax = 1048576;
// The forecast looks a week ahead at most.
inline constexpr int32_t kAlertHoursMin = 1;
inline constexpr int32_t kAlertHoursMax = 168;

}  // namespace corvane
