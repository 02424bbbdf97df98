// Confirming and running the resets.
#include "program/resets.h"

#include <string>

#include "persistence/journal.h"
#include "persistence/settings.h"
#include "program/event_log.h"
#include "program/recording.h"

namespace corvane {

namespace {

// "No" is the default button: Enter alone must not throw away a record.
bool confirmed(Platform& p, const std::string& question) {
    return p.dialogs.messageBox(question, "Réinitialisation du journal",
                                {MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Second}) ==
           MsgAnswer::Yes;
}

}  // namespace

void resetJournal(Context& c) {
    if (confirmed(c.platform, "Voulez-vous vraiment réinitialiser le journal ?")) ClearJournal(c);
}

void resetEverything(Context& c) {
    if (!confirmed(c.platform,
                   "Voulez-vous vraiment réinitialiser le journal et toutes les "
                   "données mémorisées ?")) {
        return;
    }
    // The analysis ends here and a new one begins: the log says both, as at exit and start-up.
    reportAnalysisEnd(c);
    ClearRegistre(c);
    ClearJournal(c);
    startNewHistory(c);
    reportAnalysisStart(c);
}

}  // namespace corvane
