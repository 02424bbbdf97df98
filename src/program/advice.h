// The main window's procedures for the page file's advice: following the commit's trend at each
// tick, and the "Conseil de taille du fichier d'échange..." menu item.
#pragma once

#include "memory/advice_report.h"
#include "state/state.h"

namespace corvane {

// The figures the advice rests on, read now: the history's last 30 days, the memory, and what
// the registry and the volumes say. `nowMinute`: the present, in minutes since 1970 (UTC).
AdviceInputs gatherAdviceInputs(Context& context, const MemoryStatus& memory, int32_t nowMinute);

// After the tick's memory status: the commit's trend at every tick (the alert watches it), the
// configuration once a minute, and the whole advice in the open window.
void followAdvice(Context& context, const MemoryStatus& memory);

// Works the advice out now, keeps it for the export, and gives its words.
AdviceReport currentAdviceReport(Context& context, const MemoryStatus& memory);

// The menu item: opens the window (or brings it forward) and fills it.
void showAdviceWindow(Context& context);

}  // namespace corvane
