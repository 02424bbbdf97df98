// The events' IDs and words.
#include "alerts/alert_events.h"

#include "alerts/alert_texts.h"

namespace corvane {

EventRecord alertEvent(const AlertEvent& alert, const std::string& date, const std::string& time) {
    uint32_t id = kEventCommitAlert;
    switch (alert.kind) {
        case AlertKind::SwapGrowth: id = kEventSwapAlert; break;
        case AlertKind::Memory: id = kEventMemoryAlert; break;
        case AlertKind::Exhaustion: id = kEventExhaustionAlert; break;
        case AlertKind::Commit: break;
    }
    return {EventType::Warning, id, alertJournalLine(alert, date, time)};
}

EventRecord analysisStartEvent(const std::string& swapPath, const std::string& date,
                               const std::string& time) {
    return {EventType::Information, kEventAnalysisStart,
            "Début d'analyse du fichier SWAP " + swapPath + " le " + date + " à " + time};
}

EventRecord analysisEndEvent(const std::string& swapPath, const Statistics& stats,
                             const std::string& date, const std::string& time) {
    return {EventType::Information, kEventAnalysisEnd,
            "Fin d'analyse du fichier SWAP " + swapPath + " le " + date + " à " + time + " : " +
                std::to_string(stats.maximum) + " Mo au plus, " + std::to_string(stats.average) +
                " Mo en moyenne, " + std::to_string(stats.sampleCount) + " relevés"};
}

}  // namespace corvane
