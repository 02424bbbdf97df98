// The two menu commands that restart the record, each after a confirmation.
#pragma once

#include "state/state.h"

namespace corvane {

// "Réinitialiser le journal": a new journal, the statistics kept.
void resetJournal(Context& context);

// "Réinitialiser tout": a new journal and a new analysis.
void resetEverything(Context& context);

}  // namespace corvane
