// The main window's procedures for the virtual memory: following it at each tick, and the
// "Mémoire virtuelle" menu item.
#pragma once

#include "state/state.h"

namespace corvane {

// After the tick's memory status: the analysis' largest commit, then, once a minute and at
// every tick while the window is open, a reading of the processes (and for the window, of the
// commit charge and the page files), shown there.
void followVirtualMemory(Context& context, const MemoryStatus& memory);

// The "Mémoire virtuelle..." menu item: opens the window (or brings it forward) and fills it.
void showVirtualMemoryWindow(Context& context);

}  // namespace corvane
