// Figures of the virtual memory, worked out and worded.
#include "memory/memory_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/numbers.h"

namespace corvane {

namespace {

constexpr double kMo = static_cast<double>(kBytesPerMo);

}  // namespace

uint64_t pagesToBytes(uint64_t pages, uint64_t pageSize) {
    if (pageSize != 0 && pages > std::numeric_limits<uint64_t>::max() / pageSize)
        return std::numeric_limits<uint64_t>::max();
    return pages * pageSize;
}

int32_t wholeMo(uint64_t bytes) {
    double mo = roundHalfEven(static_cast<double>(bytes) / kMo);
    return mo >= 2147483647.0 ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(mo);
}

int32_t signedWholeMo(int64_t bytes) {
    double mo = roundHalfEven(static_cast<double>(bytes) / kMo);
    return static_cast<int32_t>(std::clamp(mo, -2147483647.0, 2147483647.0));
}

std::optional<CommitCharge> statusCommit(const MemoryStatus& memory) {
    if (!memory.commitKnown || memory.totalPageFile == 0 ||
        memory.totalPageFile < memory.availPageFile) {
        return std::nullopt;
    }
    return CommitCharge{memory.totalPageFile - memory.availPageFile, memory.totalPageFile, 0};
}

std::string sizeText(uint64_t bytes) {
    // Whole Mo in plain digits, as the main window, the journal and the history write sizes.
    return std::to_string(static_cast<uint64_t>(roundHalfEven(static_cast<double>(bytes) / kMo))) +
           " Mo";
}

std::string growthText(int64_t bytes) {
    uint64_t size = bytes < 0 ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes);
    std::string text = sizeText(size);
    if (text == "0 Mo") return text;
    return (bytes < 0 ? "-" : "+") + text;
}

int commitPermille(const CommitCharge& commit) {
    if (commit.limitBytes == 0) return 0;
    double share = static_cast<double>(commit.usedBytes) / static_cast<double>(commit.limitBytes);
    return static_cast<int>(std::clamp(std::floor(share * 1000 + 0.5), 0.0, 1000.0));
}

std::string commitText(const std::optional<CommitCharge>& commit) {
    if (!commit) return std::string("Engagement : ") + kNotOnThisWindows;
    int percent = (commitPermille(*commit) + 5) / 10;
    return "Engagement : " + sizeText(commit->usedBytes) + " / " + sizeText(commit->limitBytes) +
           " (" + std::to_string(percent) + " %)";
}

std::string peaksText(const std::optional<CommitCharge>& commit, int32_t analysisMaxMo) {
    std::string text = "Pic depuis le démarrage de Windows : ";
    if (!commit) {
        text += kNotOnThisWindows;
    } else if (commit->peakBytes < commit->usedBytes) {
        // A peak below what is in use now is no peak: the system does not keep it.
        text += "non communiqué";
    } else {
        text += sizeText(commit->peakBytes);
    }
    text += "    Maximum de l'analyse : ";
    text += analysisMaxMo > 0 ? sizeText(static_cast<uint64_t>(analysisMaxMo) * kBytesPerMo) : "-";
    return text;
}

int32_t raisedMaximum(int32_t maximumMo, uint64_t usedBytes) {
    return std::max(maximumMo, wholeMo(usedBytes));
}

}  // namespace corvane
