// The main window's procedures for the Prometheus export: the file written at the end of each
// minute and at each alert, and the "Exporter vers Prometheus..." item.
#pragma once

#include "state/state.h"

namespace corvane {

// At the end of the tick: writes corvane.prom when the tick called for it (prometheusDue) and
// the export is on. A file that cannot be written costs one line of the journal, the first
// time only, and is tried again at the next minute; nothing waits on the user.
void exportToPrometheus(Context& context, const MemoryStatus& memory);

// "Exporter vers Prometheus...": the dialog; what the user keeps is remembered and, when the
// export is on, written at once.
void editPrometheusExport(Context& context);

// The Windows exporter's own folder for such files, where it is installed; else nothing.
std::string defaultPrometheusFolder(Platform& platform);

}  // namespace corvane
