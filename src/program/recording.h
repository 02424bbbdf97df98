// The main window's procedures for the history: opening it at start-up, feeding it at each
// tick, closing it at exit, starting it anew, showing and exporting it.
#pragma once

#include <cstdint>
#include <optional>

#include "state/state.h"

namespace corvane {

// Reads and tidies "Corvane.csv" beside the journal. Called by the start-up once the program
// directory is known.
void openHistory(Context& context);

// Feeds one sample of the tick (the swap size in Mo, the memory status and what Windows
// reports of the swap file in use) to the minute in progress, at the UTC time now.
void recordSample(Context& context, int32_t swapMo, const MemoryStatus& memory,
                  std::optional<uint64_t> inUseBytes);

// Records the minute in progress, at exit.
void closeHistory(Context& context);

// Starts a new history, the previous one kept as "Corvane.csv.old".
void startNewHistory(Context& context);

// The `historique` menu item: opens the history window.
void showHistoryWindow(Context& context);

// The history window's "Exporter..." button: offers "Corvane-historique-<date>.csv" in the
// user's documents, refuses the history's own files and asks before replacing any other file
// (the dialog opens again after either), writes the copy and says where, or why it could not.
void exportHistory(System& system, Dialogs& dialogs, FileSystem& files, History& history);
// The name the export offers on the local day of `localNow`.
std::string exportName(const DateTime& localNow);

}  // namespace corvane
