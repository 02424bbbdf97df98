// The life of the main window: start-up, the exit procedure, the hidden keys.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

// The load handler's start-up sequence.
void Startup(Context& context);

// The single exit procedure. Never returns: it ends with ProgramEnd.
[[noreturn]] void Terminer(Context& context);

// The exit at log-off or shutdown: as Terminer, with no modal window.
[[noreturn]] void TerminerSession(Context& context);

// The key-press handler: "d" shows the scratch list window, "j" switches the About window at
// exit, Escape quits.
void KeyPress(Context& context, int16_t keyAscii);

// True unless the swap path and the configured paging sizes equal those remembered.
bool ChangementParam(Context& context);

// Writes the window's header: title, Windows version, the analysed file.
void Affichage(Context& context);

// The message title; "Corvane" until the header has set it.
std::string titleForMessages(const Context& context);

}  // namespace corvane
