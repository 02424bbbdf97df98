// Opening the maker's addresses and the help page.
#include "about/links.h"

namespace corvane {

void showStartProblem(Platform& p, const RuntimeError& error) {
    p.dialogs.messageBox(
        "Erreur : " + std::to_string(error.number()) + "\r\n" + error.description(),
        "Problème Start", {MsgButtons::Ok, MsgIcon::Exclamation});
}

void startAddress(Platform& p, const std::string& argument) {
    // The page or the mail program opens in a normal window: only the console that a "start"
    // command would need is worth minimising.
    try {
        p.shell.open(argument, WindowShow::Normal);
    } catch (const RuntimeError& error) {
        ErrStart(p, argument, error);
    }
}

std::string startArgument(const std::string& argument) {
    // A program folder such as "C:\Program Files\Corvane" or a "?subject=" would otherwise be
    // cut at the blank or the "=", and "&" would start a second command.
    if (argument.find_first_of(" \t&|<>^(),;=%!\"") == std::string::npos) return argument;
    // "start" takes its first quoted argument as a window title: give it an empty one.
    return "\"\" \"" + argument + "\"";
}

void ErrStart(Platform& p, const std::string& argument, const RuntimeError& error) {
    if (error.number() != kErrFileNotFound) {
        showStartProblem(p, error);
        return;
    }
    // The command interpreter expands %NAME% (and !NAME! where delayed expansion is on) even
    // inside quotes, and nothing escapes it there: such an address would run as something
    // else. A quote cannot be passed inside the quoted argument either.
    if (argument.find_first_of("%!\"") != std::string::npos) {
        showStartProblem(p, RuntimeError(kErrBadFileName));
        return;
    }
    try {
        p.shell.run("cmd /c start " + startArgument(argument), WindowShow::MinimizedFocus);
    } catch (const RuntimeError& retryError) {
        showStartProblem(p, retryError);
    }
}

}  // namespace corvane
