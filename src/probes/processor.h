// The number and family of the processors, shown in the `processeur` label.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace corvane {

// The text a processor type adds to the caption: " 586", " MIPS R4000", " (inconnu)" ...
std::string processorFamily(uint32_t processorType);

// Puts the processor count before the label's current caption and the family after it: the
// window's "CPU" becomes "2 CPU 586".
void Proce(System& system, MainView& view);

}  // namespace corvane
