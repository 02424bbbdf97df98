// The events Corvane writes to the Windows event log: their fixed IDs, which the message table
// of the program's resources (win32/corvane_events.mc) numbers the same way, and their texts.
#pragma once

#include <cstdint>
#include <string>

#include "alerts/alert_watch.h"
#include "platform/event_log.h"
#include "stats/statistics.h"

namespace corvane {

inline constexpr uint32_t kEventAnalysisStart = 1;
inline constexpr uint32_t kEventAnalysisEnd = 2;
inline constexpr uint32_t kEventCommitAlert = 10;
inline constexpr uint32_t kEventSwapAlert = 11;
inline constexpr uint32_t kEventMemoryAlert = 12;
inline constexpr uint32_t kEventExhaustionAlert = 13;

struct EventRecord {
    EventType type = EventType::Information;
    uint32_t id = 0;
    std::string text;
};

// An alert's event: a warning with the journal's alert line as its text.
EventRecord alertEvent(const AlertEvent& alert, const std::string& date, const std::string& time);
// "Début d'analyse du fichier SWAP C:\pagefile.sys le 08/12/2026 à 07:15:30"
EventRecord analysisStartEvent(const std::string& swapPath, const std::string& date,
                               const std::string& time);
// "Fin d'analyse du fichier SWAP C:\pagefile.sys le 08/12/2026 à 09:15:30 : 812 Mo au plus,
// 640 Mo en moyenne, 7200 relevés"
EventRecord analysisEndEvent(const std::string& swapPath, const Statistics& stats,
                             const std::string& date, const std::string& time);

}  // namespace corvane
