// The life of the main window: start-up, the exit procedure, the hidden keys.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

// The load handler's start-up sequence.
void startUp(Context& context);

// The single exit procedure. Never returns: it ends with ProgramEnd.
[[noreturn]] void Terminer(Context& context);

// The exit at log-off or shutdown: as Terminer, with no modal window.
[[noreturn]] void endWithTheSession(Context& context);

// A damaged setting found at start-up or by a later tick (13): said, then the statistics and
// the journal start again, and the program runs on.
void restartAnalysis(Context& context);

// The way out after an error that nothing else handles: it is said in French, then the
// statistics are saved and the journal closed as the exit does (no About window). The caller
// ends the program.
void leaveAfterError(Context& context, const RuntimeError& error) noexcept;

// The key-press handler: "d" shows the scratch list window, "j" switches the About window at
// exit, Escape quits.
void handleKeyPress(Context& context, int16_t keyAscii);

// True unless the swap path and the configured paging sizes equal those remembered.
bool ChangementParam(Context& context);

// Writes the window's header: title, Windows version, the analysed file.
void Affichage(Context& context);

// The message title; "Corvane" until the header has set it.
std::string titleForMessages(const Context& context);

}  // namespace corvane
