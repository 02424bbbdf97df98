// When a change of the icon is sent again, and when the icon is added again.
#include "platform/tray_updates.h"

namespace corvane {

bool TrayUpdates::show(TrayShell& shell, unsigned changes) {
    if (!added_) {
        // A busy shell can let an add time out and still take it: every later add is then
        // refused. A shell that takes the whole icon as a change has it.
        added_ = shell.add() || shell.modify(TrayShell::kWholeIcon);
        unsent_ = 0;
    } else {
        unsigned wanted = unsent_ | changes;
        if (!wanted || shell.modify(wanted)) {
            unsent_ = 0;
        } else if (shell.add()) {
            // An icon the shell lost is added again, as it is now, and without its behaviour.
            unsent_ = 0;
            newer_ = false;
        } else {
            // An icon it still has (the add is refused then) keeps its place, and the change
            // goes again at the next call.
            unsent_ = wanted;
        }
    }
    // Until the shell takes the newer behaviour, it sends the older messages: asked again at
    // each call rather than waited for.
    if (added_ && !newer_) newer_ = shell.setVersion();
    return added_;
}

}  // namespace corvane
