// The Run value, over the platform's registry.
#include "commands/start_with_windows.h"

#include <cctype>

namespace corvane {

namespace {

constexpr const char* kTitle = "Lancer avec Windows";

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string runCommand(const std::string& exePath) {
    return "\"" + exePath + "\"";
}

std::string runCommandProgram(const std::string& command) {
    size_t start = command.find_first_not_of(' ');
    if (start == std::string::npos) return "";
    if (command[start] == '"') {
        size_t end = command.find('"', start + 1);
        return command.substr(start + 1, end == std::string::npos ? end : end - start - 1);
    }
    size_t exe = lower(command).find(".exe", start);
    if (exe != std::string::npos) return command.substr(start, exe + 4 - start);
    return command.substr(start, command.find(' ', start) - start);
}

std::string programPath(const Context& c) {
    return c.state.programDirectory + c.platform.system.executableName() + ".exe";
}

RunEntry readRunEntry(Context& c, std::string* other) {
    bool expandable = false;
    std::optional<std::string> value =
        c.platform.registry.readText(RootKey::CurrentUser, kRunKey, kRunValueName, &expandable);
    // Windows expands a REG_EXPAND_SZ command before it starts it: so is it read.
    if (value && expandable) value = c.platform.system.expandEnvironment(*value);
    std::string program = value ? runCommandProgram(*value) : "";
    // An empty value starts nothing: no copy's choice is lost in writing over it.
    if (program.empty()) return RunEntry::None;
    // One file has many names (short names, another case): what counts is the file.
    if (c.platform.files.sameFile(program, programPath(c))) {
        return RunEntry::ThisProgram;
    }
    if (other) *other = program;
    return RunEntry::OtherCopy;
}

void refreshStartWithWindows(Context& c) {
    c.platform.view.setMenuChecked(MenuItem::startWithWindows,
                                   readRunEntry(c) == RunEntry::ThisProgram);
}

void toggleStartWithWindows(Context& c) {
    Platform& p = c.platform;
    std::string other;
    RunEntry entry = readRunEntry(c, &other);
    if (entry == RunEntry::OtherCopy) {
        MsgAnswer answer = p.dialogs.messageBox(
            "Une autre copie de Corvane est déjà lancée avec Windows :\r\n" + other +
                "\r\n\r\nLancer cette copie-ci avec Windows à sa place ?\r\n" + programPath(c),
            kTitle, {MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Second});
        if (answer != MsgAnswer::Yes) {
            refreshStartWithWindows(c);
            return;
        }
    }
    try {
        if (entry == RunEntry::ThisProgram) {
            p.registry.deleteValue(RootKey::CurrentUser, kRunKey, kRunValueName);
        } else {
            p.registry.writeText(RootKey::CurrentUser, kRunKey, kRunValueName,
                                 runCommand(programPath(c)));
        }
    } catch (const RuntimeError& error) {
        p.dialogs.messageBox(
            "Le lancement avec Windows n'a pas pu être modifié.\r\n" + std::string(error.what()),
            kTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
    }
    // The mark says what the registry holds now, whatever the write did.
    refreshStartWithWindows(c);
}

}  // namespace corvane
