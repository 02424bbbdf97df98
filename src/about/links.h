// Opening an address through the shell, with the fallback for systems where that fails.
#pragma once

#include <string>

#include "platform/platform.h"

namespace corvane {

// Opens a web page, a "mailto:" address or a document; on failure hands over to ErrStart.
void startAddress(Platform& platform, const std::string& argument);

// The fallback for an address that could not be opened: "file not found" (53) retries through
// the command interpreter's "start"; any other error, or a failed retry, is shown to the user.
void ErrStart(Platform& platform, const std::string& argument, const RuntimeError& error);

// Tells the user that an address or document could not be opened, and why.
void showStartProblem(Platform& platform, const RuntimeError& error);

// `argument` as the command interpreter's "start" takes it: quoted (after an empty window
// title) when blanks or characters that cmd would interpret would otherwise split or change it.
std::string startArgument(const std::string& argument);

}  // namespace corvane
