// The arithmetic and the French wording of the virtual memory's figures: pages to bytes, sizes
// in whole Mo, commit as "used / limit", and the analysis' largest commit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/records.h"
#include "platform/virtual_memory.h"

namespace corvane {

// Windows counts commit and page files in pages; a count too large for 64 bits of bytes is no
// figure any machine has, and saturates rather than wrapping to a small one.
uint64_t pagesToBytes(uint64_t pages, uint64_t pageSize);

// Whole Mo (1048576 bytes), a half to even, at most the largest 32-bit number.
int32_t wholeMo(uint64_t bytes);
// A growth in whole Mo, rounded the same way; below zero when memory was given back.
int32_t signedWholeMo(int64_t bytes);

// The commit charge the tick's memory status gives (Windows 2000 and later: its page-file
// figures are the commit limit and what is left of it), or nothing. The peak is not in it.
std::optional<CommitCharge> statusCommit(const MemoryStatus& memory);

// A size in whole Mo, a half to even, as every other size of the program: "812 Mo", "24064 Mo".
std::string sizeText(uint64_t bytes);
// A change of size, signed: "+300 Mo", "-12 Mo", "0 Mo".
std::string growthText(int64_t bytes);

// How full the commit is, in thousandths of its limit (0 to 1000).
int commitPermille(const CommitCharge& commit);
// "Engagement : 5233 Mo / 12288 Mo (43 %)", or why there is no figure.
std::string commitText(const std::optional<CommitCharge>& commit);
// The peak since Windows started and Corvane's own largest since the analysis began.
std::string peaksText(const std::optional<CommitCharge>& commit, int32_t analysisMaxMo);

// The analysis' largest commit, in whole Mo, once `usedBytes` has been seen.
int32_t raisedMaximum(int32_t maximumMo, uint64_t usedBytes);

// What the window says in place of a figure this version of Windows does not give.
inline constexpr const char* kNotOnThisWindows = "non disponible sur cette version de Windows";
// Said of a program's commit the 32-bit program could read only through a 32-bit field.
inline constexpr const char* kCommitCappedNote =
    "Engagement lu sur 32 bits, peut être faux au-delà de 4096 Mo ; la version 64 bits de Corvane "
    "le montre en entier.";

}  // namespace corvane
