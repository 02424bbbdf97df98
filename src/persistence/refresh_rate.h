// The refresh period: one procedure applies a new period to the label, the store, the timer
// and the slider.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

void majRaf(Context& context, int32_t periodSeconds);

}  // namespace corvane
