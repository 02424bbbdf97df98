// The print, help and About commands of the main window's menu.
#pragma once

#include "state/state.h"

namespace corvane {

// `impr`: prints an image of the main window on the printer the user picks.
void imprClick(Context& context);
// `aide`: opens the help page that ships beside the program.
void aideClick(Context& context);
// `propos`: shows the About window; returns when it is closed.
void proposClick(Context& context);

}  // namespace corvane
