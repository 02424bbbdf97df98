// Opening a tool window or a dialog from a menu.
#pragma once

#include <string>
#include <utility>

#include "common/errors.h"
#include "state/state.h"

namespace corvane {

// Calls `open`. A window Windows cannot make is no reason to end the program, as an error left
// to the menu's caller would: the user reads "La fenêtre <whose> n'a pas pu s'ouvrir." and why,
// under `title`, and false is returned.
template <class Open>
bool openOrSay(Context& c, const std::string& whose, const std::string& title, Open&& open) {
    try {
        std::forward<Open>(open)();
        return true;
    } catch (const RuntimeError& error) {
        c.platform.dialogs.messageBox(
            "La fenêtre " + whose + " n'a pas pu s'ouvrir.\r\n" + error.description(), title,
            {MsgButtons::Ok, MsgIcon::Exclamation});
        return false;
    }
}

}  // namespace corvane
