// Start-up, exit and keys of the main window.
#include "program/startup.h"

#include "commands/print_help.h"
#include "commands/start_with_windows.h"
#include "common/app.h"
#include "layout/main_layout.h"
#include "persistence/journal.h"
#include "persistence/settings.h"
#include "probes/processor.h"
#include "probes/swap_location.h"
#include "probes/system_ini.h"
#include "probes/windows_version.h"
#include "program/event_log.h"
#include "program/recording.h"
#include "program/tick.h"

namespace corvane {

namespace {

const char* const kCrLf = "\r\n";

// The start-up's error trap. A damaged setting (13) is reported, the analysis restarts, and
// start-up goes on with the next statement; any other error is reported and the window closes.
void startupErrorHandler(Context& c, const RuntimeError& error) {
    Platform& p = c.platform;
    if (error.number() == kErrTypeMismatch) {
        restartAnalysis(c);
        return;
    }
    p.dialogs.messageBox("Erreur : " + std::to_string(error.number()) + kCrLf +
                             error.description() + kCrLf +
                             "Envoyez-moi un mél avec cette copie d'écran SVP, merci",
                         "Erreur imprévue au chargement", {MsgButtons::Ok, MsgIcon::Critical});
    if (c.ending) throw ProgramEnd{};
    // The exit saves every other setting from memory, which mends them for the next start;
    // only the period is never saved there.
    repairUserChoices(c);
    Terminer(c);
}

// Runs one statement of the start-up under its error trap; the statement after it runs next,
// unless the program ended meanwhile (a session end while a message box waited).
template <class Statement>
void trapped(Context& c, Statement&& statement) {
    try {
        statement();
    } catch (const ProgramEnd&) {
        throw;
    } catch (...) {
        // Memory running out is trapped as the program's own errors are (7).
        startupErrorHandler(c, currentError());
    }
    if (c.ending) throw ProgramEnd{};
}

}  // namespace

std::string titleForMessages(const Context& c) {
    return c.state.messageTitle.empty() ? kAppTitle : c.state.messageTitle;
}

void startUp(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;

    if (p.system.anotherInstanceRunning()) throw ProgramEnd{};

    s.programDirectory = p.system.applicationDirectory();
    if (s.programDirectory.empty() || s.programDirectory.back() != '\\') s.programDirectory += '\\';

    Plateforme(c);
    Proce(c.platform.system, c.platform.view);
    SystemIni(c);

    if (s.pagingDirectory.empty()) {
        RechercheSwap(c);
    } else {
        s.swapPath = s.pagingDirectory + "\\" + s.swapFileName;
    }

    // A new analysis begins now unless the saved settings carry one on.
    s.stats.startTick = static_cast<double>(p.system.tickCount());

    s.oldJournalPath = s.programDirectory + "Corvane.old";
    s.journalPath = s.programDirectory + "Corvane.txt";
    openHistory(c);

    trapped(c, [&] { LoadRegistre(c); });
    if (s.stats.sampleCount > 0) {
        bool changed = false;
        trapped(c, [&] { changed = ChangementParam(c); });
        if (changed) {
            trapped(c, [&] {
                p.dialogs.messageBox(std::string("Vos paramètres de fichier SWAP ont changé") +
                                         kCrLf + "Réinitialisation de l'analyse",
                                     titleForMessages(c), {MsgButtons::Ok, MsgIcon::Exclamation});
            });
            trapped(c, [&] { ClearRegistre(c); });
            trapped(c, [&] { ClearJournal(c); });
        }
    }
    bool journalWritten = true;
    trapped(c, [&] { journalWritten = OuvrirJournal(c); });
    trapped(c, [&] {
        p.view.setMenuChecked(MenuItem::eventLog, s.eventLogOn && eventLogExists(c));
        openEventLog(c);
        reportAnalysisStart(c);
    });
    c.analysisOpen = true;
    if (!journalWritten) {
        // Said once, now: otherwise weeks of figures go nowhere without a word (a folder under
        // Program Files, a read-only medium).
        trapped(c, [&] {
            p.dialogs.messageBox("Corvane ne peut pas écrire dans son dossier " +
                                     s.programDirectory + kCrLf +
                                     "Le journal et l'historique n'y seront pas enregistrés.",
                                 titleForMessages(c), {MsgButtons::Ok, MsgIcon::Exclamation});
        });
    }
    c.dbActif = true;
    trapped(c, [&] { Affichage(c); });
    trapped(c, [&] { refreshStartWithWindows(c); });

    if (s.swapPath.empty()) {
        trapped(c, [&] {
            p.dialogs.messageBox(s.versionText + kCrLf + "Fichier SWAP non trouvé !" + kCrLf +
                                     "Envoyez moi un mail SVP !",
                                 "Erreur terrible!.....", {MsgButtons::Ok, MsgIcon::Critical});
        });
        trapped(c, [&] { p.view.setTimerEnabled(TimerId::MainTimer1, false); });
        Terminer(c);
    }
    trapped(c, [&] { Timer1Tick(c); });
    trapped(c, [&] { p.view.setTimerEnabled(TimerId::MainTimer1, true); });
}

namespace {

// The statistics, then the journal's summary: once, whichever way out comes first. With
// `tellUser` a failure is shown; either way the exit goes on, so that one failing step does
// not cost the other.
void closeAnalysis(Context& c, bool tellUser) {
    if (c.analysisClosed) return;
    c.analysisClosed = true;
    Platform& p = c.platform;
    try {
        SaveRegistre(c);
    } catch (...) {
        RuntimeError error = currentError();
        // A store that already refused a write this run has been reported.
        if (tellUser && !c.storeFailureReported) {
            c.storeFailureReported = true;
            try {
                p.dialogs.messageBox(
                    std::string("Vos statistiques n'ont pas pu être enregistrées.") + kCrLf +
                        error.what(),
                    kAppTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
            } catch (...) {
                // The journal's summary is still worth its try.
            }
        }
    }
    try {
        reportAnalysisEnd(c);
    } catch (...) {
        // The event is worth less than the journal's summary that follows.
    }
    try {
        FermerJournal(c);
    } catch (...) {
        RuntimeError error = currentError();
        if (tellUser) {
            try {
                p.dialogs.messageBox(
                    "Le résumé de l'analyse n'a pas pu être écrit dans le journal " +
                        c.state.journalPath + kCrLf + error.what(),
                    kAppTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
            } catch (...) {
            }
        }
    }
}

}  // namespace

void Terminer(Context& c) {
    c.ending = true;
    closeHistory(c);
    if (!c.state.sansApropos) {
        // The credits must never cost the statistics that are saved next.
        try {
            proposClick(c);
        } catch (const ProgramEnd&) {
            throw;
        } catch (...) {
        }
    }
    closeAnalysis(c, true);
    throw ProgramEnd{};
}

void endWithTheSession(Context& c) {
    // Windows is ending the session: nothing may wait on the user.
    c.ending = true;
    // While start-up still shows why it restarts the analysis, the store and the journal are
    // left as they were: the next start finds the same reason and restarts it then.
    if (!c.analysisOpen) c.analysisClosed = true;
    // What is small and precious first: Windows ends a process that is slow to log off, and
    // the history's last minute may bring its rewrite, megabytes long.
    closeAnalysis(c, false);
    closeHistory(c);
    throw ProgramEnd{};
}

void restartAnalysis(Context& c) {
    c.platform.dialogs.messageBox(
        std::string("Problème au chargement de vos paramères !") + kCrLf + "Réinitialisation",
        "Vous pouvez continuer !", {MsgButtons::Ok, MsgIcon::Information});
    // A session end while the message waited has ended the program: the damaged values stay
    // for the next start to find.
    if (c.ending) throw ProgramEnd{};
    ClearRegistre(c);
    ClearJournal(c);
    repairUserChoices(c);
}

void leaveAfterError(Context& c, const RuntimeError& error) noexcept {
    c.ending = true;
    try {
        std::string text = "Erreur d'exécution '" + std::to_string(error.number()) + "' :";
        if (!error.description().empty()) text += std::string(kCrLf) + kCrLf + error.description();
        c.platform.dialogs.messageBox(text, kAppTitle, {MsgButtons::Ok, MsgIcon::Critical});
    } catch (...) {
        // Without its message the program still saves what it holds.
    }
    try {
        closeHistory(c);
    } catch (...) {
    }
    // Before start-up has loaded them, memory holds no statistics worth more than the store's.
    if (!c.analysisOpen) c.analysisClosed = true;
    closeAnalysis(c, true);
}

void handleKeyPress(Context& c, int16_t keyAscii) {
    Platform& p = c.platform;
    if (keyAscii == 'd') {
        if (!p.db.isLoaded()) p.db.load();
        p.db.show();
        c.dbActif = true;
    }
    if (keyAscii == 'j') c.state.sansApropos = !c.state.sansApropos;
    if (keyAscii == 27) Terminer(c);
}

bool ChangementParam(Context& c) {
    const MainState& s = c.state;
    return !(s.swapPath == s.memoSwap && s.minPagingSize == s.memoMinPaging &&
             rememberedMaxPaging(s.maxPagingSize) == s.memoMaxPaging);
}

void Affichage(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;
    std::string version;
    for (int number : p.system.programVersion()) {
        version += (version.empty() ? "" : ".") + std::to_string(number);
    }
    s.messageTitle = std::string(kAppTitle) + " V " + version;
    p.view.setWidthTwips(kMainWindowWidthTwips);
    p.view.setCaption(s.messageTitle);
    p.view.setText(Control::Windows, s.versionText);
    p.view.setText(Control::Label1, "Analyse du fichier SWAP (" + s.swapPath + ") depuis :");
}

}  // namespace corvane
