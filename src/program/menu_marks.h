// The marks of the menu's choices, set each time a menu of the window opens.
#pragma once

#include "state/state.h"

namespace corvane {

// The refresh period in force among the refresh items (none for a period the slider chose
// between them) and the export for Prometheus when it is on.
void markMenuChoices(Context& context);

}  // namespace corvane
