// The texts that the sampling tick writes into the main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/records.h"
#include "stats/statistics.h"

namespace corvane {

// "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo"
std::string swapLabel(const Statistics& stats);
// What the `swap` label says while the swap file's length cannot be read.
std::string swapUnreadableLabel(const std::string& path);
// "Occupation RAM : 812/2048 Mo    Ressources utilisées : 39%"
std::string memoryLabel(int64_t usedMo, int64_t totalMo, uint32_t memoryLoad);
// Elapsed analysis time: "2 h 5 mn 25 s", "1 h 7 s", " 42 s".
std::string elapsedLabel(int64_t elapsedMs);
// The taskbar text of the minimised window: "SW:70  min:50  Max:70 Moy:60".
std::string minimisedCaption(const Statistics& stats);
// The seven memory lines of the scratch list window.
std::vector<std::string> memoryLines(const MemoryStatus& memory,
                                     const std::string& decimalSeparator);

// Whole Mo of physical memory: total (a total a little under a whole Mo counts as that Mo)
// and in use.
int64_t totalPhysicalMo(const MemoryStatus& memory);
int64_t usedPhysicalMo(const MemoryStatus& memory);

}  // namespace corvane
