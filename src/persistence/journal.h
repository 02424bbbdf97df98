// The journal beside the program: a line at each start of an analysis, a summary at each exit,
// one older generation kept aside at each reset.
#pragma once

#include <string>

#include "state/state.h"

namespace corvane {

// Appends `line` and its line end. A journal that cannot be written (a read-only folder, a full
// disk, a file held) costs that line and never the monitor: false then, and nothing raised.
bool appendToJournal(Context& context, const std::string& line);

// Appends the start line. A journal that cannot be written costs that line and nothing else;
// the result says whether it was written.
bool OuvrirJournal(Context& context);

// Appends the summary of the analysis; raises RuntimeError when the journal cannot be written.
void FermerJournal(Context& context);

// Moves the journal aside to the old journal's path and starts a new one.
void ClearJournal(Context& context);

// The "Consulter le journal" command: the journal in the text editor.
void journalClick(Context& context);

}  // namespace corvane
