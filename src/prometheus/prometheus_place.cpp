// The export's file names and the checks of its folder.
#include "prometheus/prometheus_place.h"

namespace corvane {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

}  // namespace

std::string prometheusPath(const std::string& folder) {
    return inFolder(folder, kPrometheusFileName);
}

std::string prometheusTemporaryPath(const std::string& folder) {
    return inFolder(folder, std::string(kPrometheusFileName) + ".tmp");
}

std::optional<std::string> prometheusSettingsProblem(const PrometheusSettings& settings) {
    // A folder given while the export is off is kept for when it is switched on: checked too.
    if (settings.folder.empty()) {
        if (!settings.on) return std::nullopt;
        return "Choisissez le dossier où l'exportateur lit les fichiers .prom.";
    }
    // A drive letter's colon is the only one a folder's path holds.
    std::string rest = settings.folder.size() >= 2 && settings.folder[1] == ':'
                           ? settings.folder.substr(2)
                           : settings.folder;
    if (rest.find_first_of("*?\"<>|:") != std::string::npos) {
        return "Ce nom de dossier n'est pas valide : " + settings.folder;
    }
    for (unsigned char c : settings.folder) {
        if (c < 32) return "Ce nom de dossier n'est pas valide : " + settings.folder;
    }
    return std::nullopt;
}

std::string prometheusJournalLine(const std::string& path, const std::string& reason,
                                  const std::string& date, const std::string& time) {
    return "Exportation Prometheus : " + path + " n'a pas pu être écrit (" + reason + ") le " +
           date + " à " + time;
}

std::string prometheusRemovalJournalLine(const std::string& path, const std::string& reason,
                                         const std::string& date, const std::string& time) {
    return "Exportation Prometheus : " + path + " n'a pas pu être supprimé (" + reason + ") le " +
           date + " à " + time;
}

}  // namespace corvane
