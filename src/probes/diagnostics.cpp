// The probes' diagnostic lines.
#include "probes/diagnostics.h"

namespace corvane {

void addDiagnosticLine(Platform& platform, const std::string& line) {
    if (!platform.db.isLoaded()) platform.db.load();
    platform.db.addItem(DbList::List2, line);
}

}  // namespace corvane
