// The page file's right size: what the crash dump needs, the limit the commit could reach, the
// sizes to set and a verdict on the present configuration. Pure arithmetic over what the probes
// read; every figure that rests on something unknown is unknown, never a guess.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/virtual_memory.h"

namespace corvane {

// CrashControl's CrashDumpEnabled.
enum class DumpKind { None, Complete, Kernel, Small, Automatic, Unknown };

struct CrashDumpSetting {
    DumpKind kind = DumpKind::Unknown;
    bool dedicatedFile = false;  // DedicatedDumpFile names a file: the page file writes nothing
    // Whole days since LastCrashTime; nothing when there is none or it cannot be read.
    std::optional<int64_t> daysSinceCrash;
};

enum class PageFileKind { Fixed, SystemManaged };

// One entry of PagingFiles, with what Windows says of its file and volume.
struct PageFileSetting {
    std::string path;  // "C:\pagefile.sys"; "?:\pagefile.sys" made concrete where Windows says
    PageFileKind kind = PageFileKind::SystemManaged;
    int64_t initialMo = 0;  // a fixed file's sizes
    int64_t maximumMo = 0;
    std::optional<uint64_t> currentBytes;  // the file's size now, where it is there
    std::optional<VolumeSpace> volume;     // nothing: the volume did not answer
};

// The page files as configured: unknown when PagingFiles could not be read or made sense of;
// an empty list when there is none.
struct PagingConfiguration {
    bool known = false;
    std::vector<PageFileSetting> files;
};

struct AdviceInputs {
    bool windows9x = false;
    std::optional<int64_t> ramMo;              // R
    std::optional<int64_t> peakMo;             // P: the largest commit (9x: swap size) recorded
    double daysOfFigures = 0;                  // how long the records P rests on reach back
    std::optional<uint64_t> commitLimitBytes;  // today's limit
    CrashDumpSetting dump;
    PagingConfiguration paging;
    // Windows 9x: system.ini's MinPagingFileSize and MaxPagingFileSize, in Mo (0: not set).
    int64_t iniMinimumMo = 0;
    int64_t iniMaximumMo = 0;
    // The drive Windows starts from ("C:"): the crash dump goes through its page file.
    std::string bootDrive = "C:";
};

enum class Verdict { Unknown, Enough, TooSmall, TooLarge };

struct Advice {
    std::optional<int64_t> dumpMo;  // D; nothing: the setting is unknown (counted as 0)
    bool dumpEstimated = false;     // the kernel dump's size is a typical one, not a sure one
    std::optional<int64_t> initialMo;
    std::optional<int64_t> maximumMo;
    std::optional<uint64_t> attainableBytes;  // the commit limit the page files can still reach
    Verdict verdict = Verdict::Unknown;
    std::string verdictText;
    bool provisional = false;  // rests on less than a week of figures
    std::string provisionalText;
    std::vector<std::string> missing;  // what the advice lacks, in the user's words
};

inline constexpr int64_t kMinimumAdvisedMo = 512;
inline constexpr int64_t kAdviceStepMo = 64;
inline constexpr int64_t kPeakDays = 30;
inline constexpr double kSettledDays = 7;

// D, the page file the crash dump needs, in Mo; nothing when the setting is unknown.
std::optional<int64_t> dumpNeedMo(const CrashDumpSetting& dump, int64_t ramMo);
// Whole Mo rounded up to the next multiple of 64.
int64_t roundUpToStep(int64_t mo);
// The largest a system-managed file may become: three times the RAM or 4 Go, whichever is
// larger, within an eighth of its volume and its present size plus the volume's free space.
std::optional<uint64_t> systemManagedCapBytes(const PageFileSetting& file, int64_t ramMo);
// The RAM plus what every page file may still become.
std::optional<uint64_t> attainableLimitBytes(const PagingConfiguration& paging,
                                             std::optional<int64_t> ramMo);

Advice adviseFor(const AdviceInputs& inputs);

}  // namespace corvane
