// Writing, rotating and showing the journal.
#include "persistence/journal.h"

#include <optional>
#include <string>

#include "common/app.h"

namespace corvane {

namespace {

const char* const kCrLf = "\r\n";

std::string dateAndTime(Platform& p) {
    DateTime now = p.system.localNow();
    return p.system.formatShortDate(now) + " à " + p.system.formatTime(now);
}

void showFailure(Platform& p, const std::string& what, const RuntimeError& error) {
    p.dialogs.messageBox(what + kCrLf + error.what(), kAppTitle,
                         {MsgButtons::Ok, MsgIcon::Exclamation});
}

}  // namespace

bool OuvrirJournal(Context& c) {
    Platform& p = c.platform;
    try {
        p.files.appendText(c.state.journalPath, "Début d'analyse le " + dateAndTime(p) + kCrLf);
        return true;
    } catch (const RuntimeError&) {
        // A read-only folder or a full disk must not keep the monitor from running.
        return false;
    }
}

void FermerJournal(Context& c) {
    Platform& p = c.platform;
    const Statistics& st = c.state.stats;
    // The labels are padded to one width so that the values line up in columns.
    p.files.appendText(
        c.state.journalPath,
        "    Votre fichier SWAP a atteint la taille maximale de : " + std::to_string(st.maximum) +
            "Mo" + kCrLf + "    Votre fichier SWAP a eu en moyenne la taille de    : " +
            std::to_string(st.average) + "Mo" + kCrLf + "Fin d'analyse le   " + dateAndTime(p) +
            kCrLf + kCrLf);
}

void ClearJournal(Context& c) {
    Platform& p = c.platform;
    const MainState& s = c.state;

    int deleteError = 0;
    try {
        p.files.deleteFile(s.oldJournalPath);
    } catch (const RuntimeError& error) {
        deleteError = error.number();
    }
    std::optional<RuntimeError> renameError;
    try {
        p.files.renameFile(s.journalPath, s.oldJournalPath);
    } catch (const RuntimeError& error) {
        renameError = error;
    }

    // The new journal has its start line before any message waits on the user, so that a
    // session end meanwhile leaves a journal that begins as every journal does.
    OuvrirJournal(c);
    if (renameError && renameError->number() != kErrFileNotFound) {
        // The journal is still where it was: the new analysis goes on in it.
        showFailure(p,
                    "Le journal n'a pas été réinitialisé : impossible de renommer " +
                        s.journalPath + " en " + s.oldJournalPath,
                    *renameError);
    } else {
        int lastError = renameError ? renameError->number() : deleteError;
        // No old journal replaced (the first rotation) or no journal moved: nothing to say.
        if (lastError != kErrFileNotFound) {
            p.dialogs.messageBox("L'ancien journal a été renommé " + s.oldJournalPath,
                                 "Journal réinitialisé", {MsgButtons::Ok, MsgIcon::None});
        }
    }
}

void journalClick(Context& c) {
    Platform& p = c.platform;
    // Quoted: the program's folder may hold blanks ("C:\Program Files\...").
    try {
        p.shell.run("notepad.exe \"" + c.state.journalPath + "\"", WindowShow::Normal);
    } catch (const RuntimeError& error) {
        showFailure(
            p,
            "Impossible d'ouvrir le journal " + c.state.journalPath + " dans l'éditeur notepad.exe",
            error);
    }
}

}  // namespace corvane
