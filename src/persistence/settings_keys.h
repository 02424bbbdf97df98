// Where the settings live in the per-user store. Each key is a row of the table in
// settings.cpp; the refresh period's name is here too, for the procedure that applies it.
#pragma once

namespace corvane {

inline constexpr const char* kSettingsApp = "Corvane";
inline constexpr const char* kSettingsSection = "Paramètres";

inline constexpr const char* kKeyRefreshRate = "Raffraichissement";

}  // namespace corvane
