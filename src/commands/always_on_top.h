// The `dessus` check box: keeps the main window above all others.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

// The window manager's values, as SetWindowPos takes them.
inline constexpr int kHwndTopmost = -1;
inline constexpr int kHwndNoTopmost = -2;
inline constexpr uint32_t kSwpNoSize = 0x01;
inline constexpr uint32_t kSwpNoMove = 0x02;
inline constexpr uint32_t kSwpNoActivate = 0x10;
inline constexpr uint32_t kSwpShowWindow = 0x40;

// The `dessus` Click handler.
void dessusClick(Context& context);

}  // namespace corvane
