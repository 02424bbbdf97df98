// The menu's check marks that follow what is in force.
#include "program/menu_marks.h"

#include <utility>

namespace corvane {

void markMenuChoices(Context& c) {
    MainView& view = c.platform.view;
    // The slider holds the period in force: majRaf sets both.
    const int period = view.sliderPosition();
    const std::pair<MenuItem, int> periods[] = {{MenuItem::s1, 1},
                                                {MenuItem::s5, 5},
                                                {MenuItem::s10, 10},
                                                {MenuItem::s30, 30},
                                                {MenuItem::m1, 60}};
    for (const auto& [item, seconds] : periods) view.setMenuChecked(item, seconds == period);
    view.setMenuChecked(MenuItem::prometheus, c.state.prometheus.on);
}

}  // namespace corvane
