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

bool appendToJournal(Context& c, const std::string& line) {
    try {
        c.platform.files.appendText(c.state.journalPath, line + kCrLf);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

bool OuvrirJournal(Context& c) {
    return appendToJournal(c, "Début d'analyse le " + dateAndTime(c.platform));
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

    // The old journal is replaced in the same step that puts its successor in place, never
    // deleted before: a journal that cannot move (held by an editor) leaves both as they were.
    bool replaced = false;
    std::optional<RuntimeError> moveError;
    try {
        p.files.renameFile(s.journalPath, s.oldJournalPath);
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileExists) {
            try {
                p.files.replaceFile(s.journalPath, s.oldJournalPath);
                replaced = true;
            } catch (const RuntimeError& replaceError) {
                moveError = replaceError;
            }
        } else {
            moveError = error;
        }
    }

    // The new journal has its start line before any message waits on the user, so that a
    // session end meanwhile leaves a journal that begins as every journal does.
    OuvrirJournal(c);
    if (moveError && moveError->number() != kErrFileNotFound) {
        // The journal is still where it was: the new analysis goes on in it.
        showFailure(p,
                    "Le journal n'a pas été réinitialisé : impossible de renommer " +
                        s.journalPath + " en " + s.oldJournalPath,
                    *moveError);
    } else if (replaced) {
        // No old journal replaced (the first rotation) or no journal moved: nothing to say.
        p.dialogs.messageBox("L'ancien journal a été renommé " + s.oldJournalPath,
                             "Journal réinitialisé", {MsgButtons::Ok, MsgIcon::None});
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
