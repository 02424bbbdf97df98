// The program's name as every window and message box shows it.
#pragma once

namespace corvane {

inline constexpr const char* kAppTitle = "Corvane";

}  // namespace corvane
