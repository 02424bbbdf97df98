// Where the settings live in the per-user store, and the name of each key.
#pragma once

namespace corvane {

inline constexpr const char* kSettingsApp = "Corvane";
inline constexpr const char* kSettingsSection = "Paramètres";

inline constexpr const char* kKeyRefreshRate = "Raffraichissement";

}  // namespace corvane
