// The statistics and settings that the per-user store keeps from one run to the next.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

// Ten minutes: how long the running program keeps statistics it has not saved.
inline constexpr uint64_t kCheckpointMs = 600000;

// Reads every setting into the window's variables, then applies the stored refresh period.
// A stored text that is not a number raises type mismatch (13) at its key and a number beyond
// 32 bits overflow (6); the keys after it are not read and the period is not applied.
void LoadRegistre(Context& context);

// Writes the statistics and the current swap configuration (ten keys; never the period).
void SaveRegistre(Context& context);

// Starts a new analysis: the statistics are zeroed and written. A store that refuses them is
// reported (once a run) and the analysis goes on in memory.
void ClearRegistre(Context& context);

// Tells the user, the first time in a run, that the settings store refused a write.
void reportStoreFailure(Context& context, const RuntimeError& error);

// Saves the statistics when ten minutes have passed since they last were, so that a run that
// ends without the exit procedure loses little. A failing store is left for the exit to report.
void checkpointRegistre(Context& context);

// Puts the default period back when the stored one cannot be read. Nothing else ever rewrites
// it, so it would otherwise stop every start-up at the same key.
void repairRefreshRate(Context& context);

// The maximum paging size in the whole Mo the store keeps of it.
int32_t rememberedMaxPaging(double maxPagingSize);

}  // namespace corvane
