// Where the `.prom` file goes, which folders the export accepts, and the journal's line when
// the file cannot be written.
#pragma once

#include <optional>
#include <string>

#include "platform/export_settings.h"

namespace corvane {

// `folder` + "\corvane.prom", and the temporary file written first beside it: a name the
// collectors do not read (they take only "*.prom"), in the same folder so that one rename
// puts it in place.
std::string prometheusPath(const std::string& folder);
std::string prometheusTemporaryPath(const std::string& folder);

// Why the settings cannot be kept, in French, for the dialog to say; nothing when they can.
std::optional<std::string> prometheusSettingsProblem(const PrometheusSettings& settings);

// "Exportation Prometheus : C:\dossier\corvane.prom n'a pas pu être écrit (le dossier
// C:\dossier n'existe pas) le 08/12/2026 à 07:15:30"
std::string prometheusJournalLine(const std::string& path, const std::string& reason,
                                  const std::string& date, const std::string& time);
// The same when the file cannot be removed from a folder the export left: "Exportation
// Prometheus : C:\dossier\corvane.prom n'a pas pu être supprimé (Erreur 70 ...) le ... à ..."
std::string prometheusRemovalJournalLine(const std::string& path, const std::string& reason,
                                         const std::string& date, const std::string& time);

}  // namespace corvane
