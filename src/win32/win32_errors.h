// System error codes turned into the run-time error numbers the core's traps test.
#pragma once

#include <cstdint>

#include "common/errors.h"

namespace corvane::win32 {

int errorNumberFor(uint32_t systemError);
[[noreturn]] void raiseSystemError(uint32_t systemError);
[[noreturn]] void raiseLastError();

}  // namespace corvane::win32
