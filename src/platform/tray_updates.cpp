// When a change of the icon is sent again, and when the icon is added again.
#include "platform/tray_updates.h"

namespace corvane {

bool TrayUpdates::show(TrayShell& shell, unsigned changes) {
    if (!added_) {
        added_ = shell.add();
        unsent_ = 0;
        return added_;
    }
    unsigned wanted = unsent_ | changes;
    if (!wanted || shell.modify(wanted)) {
        unsent_ = 0;
        return true;
    }
    // An icon the shell lost is added again, as it is now. An icon it still has (the add is
    // refused then) keeps its place, and the change goes again at the next call.
    if (shell.add()) {
        unsent_ = 0;
    } else {
        unsent_ = wanted;
    }
    return true;
}

}  // namespace corvane
