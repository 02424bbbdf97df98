// Where the settings live in the per-user store, and the name of each key.
#pragma once

namespace corvane {

inline constexpr const char* kSettingsApp = "Corvane";
inline constexpr const char* kSettingsSection = "Paramètres";

inline constexpr const char* kKeyNoAboutAtExit = "JM_R";
inline constexpr const char* kKeySampleCount = "NB";
inline constexpr const char* kKeyMemoSwap = "MemoSwap";
inline constexpr const char* kKeyMaxSwap = "MaxSwap";
inline constexpr const char* kKeyTotSwap = "TotSwap";
inline constexpr const char* kKeyMinSwap = "MinSwap";
inline constexpr const char* kKeyMemoMinPaging = "MemoMinPaging";
inline constexpr const char* kKeyMemoMaxPaging = "MemoMaxPaging";
inline constexpr const char* kKeyElapsed = "Elapsed";
inline constexpr const char* kKeyRefreshRate = "Raffraichissement";

}  // namespace corvane
