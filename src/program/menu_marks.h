// The marks of the menu's choices, set each time a menu of the window opens.
#pragma once

#include "state/state.h"

namespace corvane {

// The export for Prometheus when it is on.
void markMenuChoices(Context& context);

}  // namespace corvane
