// The page file's advice: the crash dump's need, the attainable commit limit, the sizes to set
// and what is wrong with the present configuration.
#include "memory/page_file_advice.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

constexpr uint64_t kMo = 1048576;
constexpr int64_t kDumpHeaderMo = 257;  // the header and the drivers' secondary data
constexpr int64_t kCrashKeepsRamDays = 28;

std::string mo(int64_t value) {
    return std::to_string(value) + " Mo";
}

int64_t bytesToMoDown(uint64_t bytes) {
    return static_cast<int64_t>(bytes / kMo);
}

std::string driveOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        std::string drive = path.substr(0, 2);
        drive[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])));
        return drive;
    }
    return "";
}

std::string daysText(double days) {
    if (days < 1) return "moins d'un jour";
    int64_t whole = static_cast<int64_t>(days);
    return std::to_string(whole) + (whole == 1 ? " jour" : " jours");
}

// What one page file can hold at most: a fixed file's largest size, a system-managed one's cap.
std::optional<int64_t> reachMo(const PageFileSetting& file, int64_t ramMo) {
    if (file.kind == PageFileKind::Fixed) return file.maximumMo;
    std::optional<uint64_t> cap = systemManagedCapBytes(file, ramMo);
    if (!cap) return std::nullopt;
    return bytesToMoDown(*cap);
}

// The same, had the volume all the room its size allows.
int64_t roomyReachMo(const PageFileSetting& file, int64_t ramMo) {
    if (file.kind == PageFileKind::Fixed) return file.maximumMo;
    int64_t cap = std::max<int64_t>(3 * ramMo, 4096);
    if (file.volume) cap = std::min<int64_t>(cap, bytesToMoDown(file.volume->totalBytes / 8));
    return cap;
}

void verdictNt(const AdviceInputs& in, Advice& a) {
    if (!in.paging.known) {
        a.verdictText = "Configuration des fichiers d'échange illisible : pas de verdict.";
        return;
    }
    if (!a.initialMo || !in.ramMo) {
        a.verdictText = "Pas de verdict sans le pic de l'engagement et la mémoire physique.";
        return;
    }
    const int64_t ram = *in.ramMo;
    const int64_t peak = *in.peakMo;
    const int64_t needMo = (5 * peak + 3) / 4 - ram;  // the file that gives the peak its room
    const int64_t dump = a.dumpMo.value_or(0);
    if (in.paging.files.empty()) {
        if (needMo > 0) {
            a.verdict = Verdict::TooSmall;
            a.verdictText = "Trop petit : aucun fichier d'échange, et le pic de " + mo(peak) +
                            " demande " + mo(needMo) + " au-delà de la mémoire physique.";
        } else if (dump > 0) {
            a.verdict = Verdict::TooSmall;
            a.verdictText = "Trop petit : sans fichier d'échange, le vidage mémoire (" + mo(dump) +
                            ") ne peut pas être écrit.";
        } else {
            a.verdict = Verdict::Enough;
            a.verdictText = "Suffisant sans fichier d'échange.";
        }
        return;
    }
    int64_t reach = 0, roomyReach = 0, initialSum = 0;
    bool systemManaged = false;
    std::optional<int64_t> bootRoom;
    for (const PageFileSetting& file : in.paging.files) {
        std::optional<int64_t> r = reachMo(file, ram);
        if (!r) {
            a.verdictText = "Le volume de " + file.path + " ne répond pas : pas de verdict.";
            return;
        }
        reach += *r;
        roomyReach += roomyReachMo(file, ram);
        systemManaged |= file.kind == PageFileKind::SystemManaged;
        if (file.kind == PageFileKind::Fixed) initialSum += file.initialMo;
        // The dump is written into the boot volume's file as it stands: a fixed file's
        // initial size, what a system-managed one may grow to.
        int64_t room = file.kind == PageFileKind::Fixed ? file.initialMo : *r;
        if (driveOf(file.path) == in.bootDrive) bootRoom = std::max(bootRoom.value_or(0), room);
    }
    if (reach < needMo) {
        a.verdict = Verdict::TooSmall;
        if (roomyReach >= needMo) {
            a.verdictText = "Trop petit : un volume plein empêche le fichier d'atteindre les " +
                            mo(needMo) + " que demande le pic de " + mo(peak) + " (il s'arrête à " +
                            mo(reach) + ").";
        } else {
            a.verdictText = "Trop petit : le pic de " + mo(peak) + " demande " + mo(needMo) +
                            " de fichier d'échange, la configuration n'en permet que " + mo(reach) +
                            ".";
        }
        return;
    }
    if (dump > bootRoom.value_or(0)) {
        a.verdict = Verdict::TooSmall;
        a.verdictText = "Trop petit pour le vidage mémoire : il demande " + mo(dump) + " sur " +
                        in.bootDrive + ", le fichier d'échange y a " + mo(bootRoom.value_or(0)) +
                        ".";
        return;
    }
    if (initialSum > *a.maximumMo) {
        a.verdict = Verdict::TooLarge;
        a.verdictText = "Plus grand que nécessaire : " + mo(initialSum - *a.initialMo) +
                        " de disque occupés pour rien.";
        return;
    }
    a.verdict = Verdict::Enough;
    a.verdictText = systemManaged
                        ? "Suffisant : géré par le système, il peut atteindre " + mo(reach) +
                              " (il en faut " + mo(std::max<int64_t>(needMo, 0)) + ")."
                        : "Suffisant.";
}

void verdict9x(const AdviceInputs& in, Advice& a) {
    if (!a.initialMo) {
        a.verdictText = "Pas de verdict sans la taille du fichier d'échange.";
        return;
    }
    const int64_t peak = *in.peakMo;
    if (in.iniMaximumMo > 0 && in.iniMaximumMo < peak) {
        a.verdict = Verdict::TooSmall;
        a.verdictText = "Trop petit : MaxPagingFileSize (" + mo(in.iniMaximumMo) +
                        ") est sous la plus grande taille vue (" + mo(peak) + ").";
    } else if (in.iniMinimumMo > *a.maximumMo) {
        a.verdict = Verdict::TooLarge;
        a.verdictText = "Plus grand que nécessaire : MinPagingFileSize occupe " +
                        mo(in.iniMinimumMo - *a.initialMo) + " de disque pour rien.";
    } else {
        a.verdict = Verdict::Enough;
        a.verdictText = in.iniMinimumMo == 0 && in.iniMaximumMo == 0
                            ? "Suffisant : Windows en gère la taille (system.ini ne la borne pas)."
                            : "Suffisant.";
    }
}

}  // namespace

int64_t roundUpToStep(int64_t value) {
    if (value <= 0) return 0;
    return (value + kAdviceStepMo - 1) / kAdviceStepMo * kAdviceStepMo;
}

std::optional<int64_t> dumpNeedMo(const CrashDumpSetting& dump, int64_t ramMo) {
    if (dump.dedicatedFile) return 0;
    const int64_t kernel = (ramMo + 2) / 3 + kDumpHeaderMo;
    switch (dump.kind) {
        case DumpKind::None: return 0;
        case DumpKind::Small: return 1;
        case DumpKind::Complete: return ramMo + kDumpHeaderMo;
        case DumpKind::Kernel: return kernel;
        case DumpKind::Automatic:
            if (dump.daysSinceCrash && *dump.daysSinceCrash >= 0 &&
                *dump.daysSinceCrash < kCrashKeepsRamDays)
                return ramMo;
            return kernel;
        case DumpKind::Unknown: break;
    }
    return std::nullopt;
}

std::optional<uint64_t> systemManagedCapBytes(const PageFileSetting& file, int64_t ramMo) {
    if (!file.volume) return std::nullopt;
    uint64_t cap = static_cast<uint64_t>(std::max<int64_t>(3 * ramMo, 4096)) * kMo;
    cap = std::min(cap, file.volume->totalBytes / 8);
    uint64_t current = file.currentBytes.value_or(0);
    uint64_t room = file.volume->freeBytes > UINT64_MAX - current
                        ? UINT64_MAX
                        : current + file.volume->freeBytes;
    return std::min(cap, room);
}

std::optional<uint64_t> attainableLimitBytes(const PagingConfiguration& paging,
                                             std::optional<int64_t> ramMo) {
    if (!paging.known || !ramMo) return std::nullopt;
    uint64_t total = static_cast<uint64_t>(*ramMo) * kMo;
    for (const PageFileSetting& file : paging.files) {
        std::optional<int64_t> r = reachMo(file, *ramMo);
        if (!r) return std::nullopt;
        total += static_cast<uint64_t>(*r) * kMo;
    }
    return total;
}

Advice adviseFor(const AdviceInputs& in) {
    Advice a;
    if (!in.ramMo && !in.windows9x) a.missing.push_back("la mémoire physique");
    if (!in.peakMo) {
        a.missing.push_back(in.windows9x ? "la plus grande taille du fichier d'échange"
                                         : "le pic de l'engagement (aucun relevé)");
    }
    if (in.windows9x) {
        a.dumpMo = 0;
        if (in.peakMo) {
            const int64_t peak = std::max<int64_t>(*in.peakMo, 0);
            a.initialMo = roundUpToStep(std::max(peak, kMinimumAdvisedMo));
            a.maximumMo = std::max(*a.initialMo, roundUpToStep((3 * peak + 1) / 2));
        }
        verdict9x(in, a);
    } else {
        if (in.ramMo) {
            a.dumpMo = dumpNeedMo(in.dump, *in.ramMo);
            a.dumpEstimated = !in.dump.dedicatedFile &&
                              (in.dump.kind == DumpKind::Kernel ||
                               (in.dump.kind == DumpKind::Automatic && a.dumpMo != *in.ramMo));
        }
        if (in.dump.kind == DumpKind::Unknown && !in.dump.dedicatedFile)
            a.missing.push_back("le réglage du vidage mémoire");
        if (!in.paging.known) a.missing.push_back("la configuration des fichiers d'échange");
        if (in.ramMo && in.peakMo) {
            const int64_t ram = *in.ramMo, peak = std::max<int64_t>(*in.peakMo, 0);
            int64_t initial =
                std::max({(5 * peak + 3) / 4 - ram, a.dumpMo.value_or(0), kMinimumAdvisedMo});
            a.initialMo = roundUpToStep(initial);
            a.maximumMo = roundUpToStep(std::max(*a.initialMo, (3 * peak + 1) / 2 - ram));
        }
        a.attainableBytes = attainableLimitBytes(in.paging, in.ramMo);
        if (in.paging.known && in.ramMo && !a.attainableBytes)
            a.missing.push_back("la place libre d'un volume qui ne répond pas");
        verdictNt(in, a);
    }
    if (in.daysOfFigures < kSettledDays) {
        a.provisional = true;
        a.provisionalText =
            "Conseil provisoire : il repose sur " + daysText(in.daysOfFigures) + " de relevés.";
    }
    return a;
}

}  // namespace corvane
