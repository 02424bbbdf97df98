// A set of settings written as one: the whole set goes first into one value of the section,
// then key by key into the keys that earlier versions and users read, and the one value goes
// last. A program killed in between leaves the one value, which reading then prefers: the
// keys hold either the earlier set or the new one, never a mix of two runs.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

using SettingValues = std::vector<std::pair<std::string, std::string>>;

// The value that holds the set while its keys are being written.
inline constexpr const char* kStagedValueName = "EnregistrementEnCours";

// The set as the text of one value.
std::string encodeStagedValues(const SettingValues& values);

// What the set in `staged` gives `key`; nothing when it does not hold the key or is not a
// set this program wrote.
std::optional<std::string> stagedValue(const std::string& staged, const std::string& key);

}  // namespace corvane
