// The `Timer1` Timer handler: one sample of the swap file and the memory, shown.
#pragma once

#include <string>

#include "state/state.h"

namespace corvane {

void Timer1Tick(Context& context);
// Once the window shows its first sample: the programs' first scan and the notification icon,
// which start-up's tick leaves for later.
void afterFirstPaint(Context& context);

// Adds one sample of `currentMo` to the statistics. A running total still in its stored text
// form is read with `decimalSeparator`; a damaged one raises type mismatch (13).
void addSample(Statistics& stats, int32_t currentMo, const std::string& decimalSeparator = ".");

}  // namespace corvane
