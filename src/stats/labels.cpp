// Texts of the sampling tick.
#include "stats/labels.h"

#include "common/numbers.h"

namespace corvane {

namespace {
constexpr double kMo = static_cast<double>(kBytesPerMo);
}

std::string swapLabel(const Statistics& s) {
    return "SWAP: " + std::to_string(s.current) + " Mo  Mini: " + std::to_string(s.minimum) +
           " Mo  Maxi: " + std::to_string(s.maximum) + " Mo  Moy: " + std::to_string(s.average) +
           " Mo";
}

std::string swapUnreadableLabel(const std::string& path) {
    return "SWAP: taille illisible (" + path + ")";
}

std::string memoryLabel(int64_t usedMo, int64_t totalMo, uint32_t memoryLoad) {
    return "Occupation RAM : " + std::to_string(usedMo) + "/" + std::to_string(totalMo) + " Mo " +
           "   Ressources utilisées : " + std::to_string(memoryLoad) + "%";
}

std::string elapsedLabel(int64_t elapsedMs) {
    if (elapsedMs < 0) elapsedMs = 0;
    int64_t hours = elapsedMs / 3600000;
    int64_t minutes = (elapsedMs / 60000) % 60;
    int64_t seconds =
        static_cast<int64_t>(roundHalfEven(static_cast<double>(elapsedMs % 60000) / 1000)) % 60;
    std::string text = " " + std::to_string(seconds) + " s";
    if (minutes > 0) text = " " + std::to_string(minutes) + " mn" + text;
    if (hours > 0) text = std::to_string(hours) + " h" + text;
    return text;
}

std::string minimisedCaption(const Statistics& s) {
    return "SW:" + std::to_string(s.current) + "  min:" + std::to_string(s.minimum) +
           "  Max:" + std::to_string(s.maximum) + " Moy:" + std::to_string(s.average);
}

std::vector<std::string> memoryLines(const MemoryStatus& m, const std::string& sep) {
    auto mo = [&](uint64_t bytes) { return formatGeneral(static_cast<double>(bytes) / kMo, sep); };
    return {
        "MemoryLoad : " + std::to_string(m.memoryLoad) + "%",
        "TotalPhys : " + formatGeneral((static_cast<double>(m.totalPhys) + 640000) / kMo, sep),
        "AvailPhys : " + mo(m.availPhys),
        "AvailVirtual : " + mo(m.availVirtual),
        "TotalVirtual : " + mo(m.totalVirtual),
        "AvailPageFile : " + mo(m.availPageFile),
        "TotalPageFile : " + mo(m.totalPageFile),
    };
}

int64_t totalPhysicalMo(const MemoryStatus& m) {
    return static_cast<int64_t>((m.totalPhys + 640000) / kBytesPerMo);
}

int64_t usedPhysicalMo(const MemoryStatus& m) {
    return totalPhysicalMo(m) - static_cast<int64_t>(m.availPhys / kBytesPerMo);
}

}  // namespace corvane
