// Printing the window, opening the help page, showing the About window.
#include "commands/print_help.h"

#include <optional>

#include "about/about_window.h"
#include "about/links.h"
#include "common/addresses.h"

namespace corvane {

void imprClick(Context& c) {
    Platform& p = c.platform;
    // Every step is tried even when the one before failed: a printer may still be there.
    std::optional<int32_t> registration;
    try {
        registration = p.printer.registerCommonDialog();
    } catch (const RuntimeError&) {
    }
    if (registration && *registration != 0) {
        try {
            p.dialogs.messageBox("Vous ne pourrez peut-être pas imprimer !",
                                 "Problème ComDlg32.OCX", {MsgButtons::Ok, MsgIcon::Critical});
        } catch (const RuntimeError&) {
        }
    }
    int dialogError = 0;
    try {
        p.printer.showPrinterDialog();
    } catch (const RuntimeError& error) {
        dialogError = error.number();
    }
    if (dialogError == kErrCancel) return;
    try {
        p.printer.printMainWindow();
    } catch (const RuntimeError&) {
    }
}

void aideClick(Context& c) {
    const std::string page = c.state.programDirectory + kHelpFileName;
    // A page that is not there cannot be opened by any other way either: say so, instead of a
    // retry through the command interpreter that fails where the user cannot see it.
    if (!c.platform.files.lastModified(page)) {
        // Named in full, so that the user knows which file to put back.
        const RuntimeError missing(kErrFileNotFound);
        c.platform.dialogs.messageBox("Erreur : " + std::to_string(missing.number()) + "\r\n" +
                                          missing.description() +
                                          "\r\nLa page d'aide n'est pas là : " + page,
                                      "Problème Start", {MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    startAddress(c.platform, page);
}

void proposClick(Context& c) {
    AboutWindow about(c.platform);
    c.platform.windows.showAboutModal(about);
}

}  // namespace corvane
