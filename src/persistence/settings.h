// The statistics and settings that the per-user store keeps from one run to the next.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "state/state.h"

namespace corvane {

// Ten minutes: how long the running program keeps statistics it has not saved.
inline constexpr uint64_t kCheckpointMs = 600000;

// Reads every setting into the window's variables, then applies the stored refresh period.
// A stored text that is not a number raises type mismatch (13) at its key and a number beyond
// 32 bits overflow (6); the keys after it are not read and the period is not applied.
void LoadRegistre(Context& context);

// Writes the statistics and the current swap configuration (never the period, the icon's or
// the alerts' keys: the user's choices are written when they are made). On disk before it
// returns, unless `durability` is Lazy (the checkpoints of a running program).
void SaveRegistre(Context& context, Durability durability = Durability::Flushed);

// Writes these keys at once from the window's variables: a choice the user has just made.
void saveSettingKeys(Context& context, std::initializer_list<const char*> names);

// Starts a new analysis: the statistics are zeroed and written. A store that refuses them is
// reported (once a run) and the analysis goes on in memory.
void ClearRegistre(Context& context);

// Tells the user, the first time in a run, that the settings store refused a write.
void reportStoreFailure(Context& context, const RuntimeError& error);

// Saves the statistics when ten minutes have passed since they last were, so that a run that
// ends without the exit procedure loses little. A failing store is left for the exit to report.
void checkpointSettings(Context& context);

// Puts the default period back when the stored one cannot be read, and so for the icon's and
// the alerts' keys. Nothing else ever rewrites them, so they would otherwise stop every
// start-up at the same key.
void repairUserChoices(Context& context);

// The maximum paging size in the whole Mo the store keeps of it.
int32_t rememberedMaxPaging(double maxPagingSize);

}  // namespace corvane
