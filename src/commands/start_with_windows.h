// "Lancer avec Windows": the value "Corvane" of the user's Run key, which Windows starts at
// each log-on, written with this program's quoted path and removed; and the menu's check mark,
// which shows only while the value names this very program.
#pragma once

#include <optional>
#include <string>

#include "state/state.h"

namespace corvane {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Corvane";

// The value's command for the program at `exePath`: its path in quotes, which a path with
// spaces needs.
std::string runCommand(const std::string& exePath);
// The program a Run command starts: the quoted path, or the text up to the first space after
// ".exe" for an unquoted one, as Windows reads such a command.
std::string runCommandProgram(const std::string& command);

// This program's full path.
std::string programPath(const Context& context);

enum class RunEntry { None, ThisProgram, OtherCopy };
// What the value holds now. `other` receives the program another copy's value names.
RunEntry readRunEntry(Context& context, std::string* other = nullptr);

// Reads the value and sets the check mark from it: at start-up and each time the menu opens.
void refreshStartWithWindows(Context& context);

// The menu item: on when the value is not this program's (asking first when it is another
// copy's), off when it is.
void toggleStartWithWindows(Context& context);

}  // namespace corvane
