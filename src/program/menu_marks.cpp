// The menu's check marks that follow what is in force.
#include "program/menu_marks.h"

namespace corvane {

void markMenuChoices(Context& c) {
    // The refresh items stay unmarked: the period in force is shown by lblRaf and the slider
    // alone, as it always was.
    c.platform.view.setMenuChecked(MenuItem::prometheus, c.state.prometheus.on);
}

}  // namespace corvane
