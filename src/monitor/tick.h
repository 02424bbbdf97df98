// The `Timer1` Timer handler: one sample of the swap file and the memory, shown.
#pragma once

#include "monitor/state.h"

namespace corvane {

void Timer1Tick(Context& context);

// Adds one sample of `currentMo` to the statistics.
void addSample(Statistics& stats, int32_t currentMo);

// Whole Mo of a length in bytes, a half to even.
int32_t bytesToMo(uint64_t bytes);

}  // namespace corvane
