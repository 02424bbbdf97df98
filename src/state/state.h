// The main window's variables, held for the life of the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "alerts/alert_watch.h"
#include "history/history.h"
#include "memory/advice_watch.h"
#include "memory/memory_watch.h"
#include "platform/platform.h"
#include "stats/statistics.h"

namespace corvane {

struct MainState {
    std::string programDirectory;  // ends with exactly one "\"
    std::string journalPath;
    std::string oldJournalPath;

    OsVersionRecord versionRecord;
    int32_t buildNumber = 0;
    std::string versionText;
    std::string swapFileName;

    std::string windowsDirectory;
    std::string pagingDirectory;
    int32_t minPagingSize = 0;  // Mo, whole
    double maxPagingSize = 0;   // Mo, may carry a fraction

    std::string swapPath;      // empty: no swap file found
    std::string messageTitle;  // the window's normal caption

    Statistics stats;

    // The swap configuration remembered from the previous run.
    std::string memoSwap;
    int32_t memoMinPaging = 0;
    int32_t memoMaxPaging = 0;

    bool sansApropos = false;  // true: no About window at exit

    // Whether the last sampling tick could read the swap file's length.
    bool swapReadable = true;

    // Tick count (ms) when the statistics were last loaded or saved: the running program saves
    // them again every ten minutes.
    uint64_t lastSaveTick = 0;

    // The swap file's minutes over days and weeks, in "Corvane.csv".
    History history;

    // The commit charge, the page files and the programs behind them.
    MemoryWatch memoryWatch;

    // The page file's advice and the commit's forecast.
    AdviceWatch advice;

    // The icon in the notification area, as the user wants it, and the alerts.
    bool trayIcon = false;
    AlertSettings alertSettings;
    AlertWatch alerts;
    // What the window and the notification area show of the icon now; nothing before the first
    // tick has shown it.
    std::optional<bool> trayIconShown;
    // The alerts handed to the history's mark (markAlertInHistory) this run.
    int alertMarks = 0;

    // The export for Prometheus' exporters, and whether this tick calls for it (a minute has
    // ended, an alert was raised).
    PrometheusSettings prometheus;
    bool prometheusDue = false;
    // Why the last export failed, once the journal has said so: a failure that lasts says it
    // once, not every minute.
    std::optional<std::string> prometheusFailure;
    // The last write found the file held past its retries: held again at the next one, it is
    // said, as a failure that lasts.
    bool prometheusHeld = false;

    // Events in the Windows event log, as the user wants them.
    bool eventLogOn = false;
};

// Everything a procedure of the main window works on: the platform and the window's variables.
struct Context {
    Platform& platform;
    MainState state;
    // Program-wide: while set, each tick refills the scratch list window.
    bool dbActif = false;
    // Set once the exit procedure has begun: the window takes no further events.
    bool ending = false;
    // Set once the exit has saved the statistics and closed the journal, so that a session end
    // arriving while the exit waits on a window does not write them twice.
    bool analysisClosed = false;
    // Set once start-up has loaded (or reset) the statistics and opened the journal: before
    // that, what memory holds is half loaded or about to be reset, and not the user's record.
    bool analysisOpen = false;
    // Set once the user has been told that the settings store refuses writes: said once a run.
    bool storeFailureReported = false;
    // Set once the window shows its first sample, or the first timed tick has come: until then
    // a tick leaves what can wait (the programs' scan, the notification icon, and the libraries
    // they load), so that the first sample shows sooner.
    bool shown = false;
};

}  // namespace corvane
