// Diagnostic lines of the probes, written into the scratch list window's List2.
#pragma once

#include <string>

#include "platform/platform.h"

namespace corvane {

// Adds one line to `Db`'s List2, making the window first if it is not there yet.
void addDiagnosticLine(Platform& platform, const std::string& line);

}  // namespace corvane
