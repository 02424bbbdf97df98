// Always-on-top through the window manager.
#include "commands/always_on_top.h"

namespace corvane {

void dessusClick(Context& c) {
    MainView& view = c.platform.view;
    // Going topmost also moves the window to the screen's top-left corner, out of the way;
    // leaving it keeps the window where the user put it.
    if (view.isChecked(Control::dessus)) {
        view.setWindowPos(kHwndTopmost, 0, 0, 0, 0, kSwpNoSize | kSwpNoActivate | kSwpShowWindow);
    } else {
        view.setWindowPos(kHwndNoTopmost, 0, 0, 0, 0,
                          kSwpNoSize | kSwpNoMove | kSwpNoActivate | kSwpShowWindow);
    }
}

}  // namespace corvane
