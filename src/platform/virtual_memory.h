// What Windows says of its virtual memory beyond the swap file's size: the commit charge, each
// live page file and the commit each program holds; and what the core asks of the window that
// shows them. Every figure is in bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The commit charge: memory promised to programs, which RAM and the page files must back.
struct CommitCharge {
    uint64_t usedBytes = 0;
    uint64_t limitBytes = 0;  // moves as the page files grow and shrink
    uint64_t peakBytes = 0;   // since Windows started; 0 where the system does not say
};

struct PageFileUse {
    std::string path;
    uint64_t sizeBytes = 0;
    uint64_t inUseBytes = 0;
    uint64_t peakBytes = 0;
};

// One running program and the commit it holds (its private bytes).
struct ProcessCommit {
    uint32_t pid = 0;
    // When the process started, in the system's own units; 0 when unknown. With the id it tells
    // a process from a later one that was given the same id.
    uint64_t started = 0;
    std::string name;
    uint64_t commitBytes = 0;
    // Read through a 32-bit field (the 32-bit program on 64-bit Windows, of a 64-bit process):
    // a commit of 4 GiB or more is not what it shows.
    bool commitCapped = false;
};

// The room of the volume that holds a file.
struct VolumeSpace {
    uint64_t freeBytes = 0;  // what this user may still write there
    uint64_t totalBytes = 0;
};

// A list Windows gives, or why it does not.
template <class Item>
struct Listing {
    bool supported = false;  // false: this version of Windows has no such list
    std::vector<Item> items;
};

// The figures, read through functions looked up when first needed: the oldest systems lack
// them, and answer "not supported" instead.
class VirtualMemory {
public:
    virtual ~VirtualMemory() = default;
    // Nothing on the systems that cannot tell (Windows 9x, NT 4, 2000) or when the call fails.
    virtual std::optional<CommitCharge> commitCharge() = 0;
    // Supported but empty where no page file is in use (or Windows will not list them).
    virtual Listing<PageFileUse> pageFiles() = 0;
    // The programs this user may look at; those that refuse to be opened are left out.
    virtual Listing<ProcessCommit> processes() = 0;
    // The free and total bytes of the volume that holds `path`; nothing when it does not answer.
    virtual std::optional<VolumeSpace> volumeSpace(const std::string& path) = 0;
};

// The programs' columns, each of which sorts the list, and the direction of the sort.
enum class ProcessOrder { Name, Pid, Commit, HourGrowth, Growth };
struct ProgramSort {
    ProcessOrder key = ProcessOrder::Commit;
    bool descending = true;
    bool operator==(const ProgramSort&) const = default;
};

// The open "Mémoire virtuelle" window's contents, as the core words them.
struct VirtualMemoryReport {
    std::string commit;                  // "Engagement : 5233 Mo / 12288 Mo (43 %)"
    int commitPermille = -1;             // the bar's length; -1: no figure, no bar
    std::string peaks;                   // the peak since Windows started and the analysis' largest
    std::vector<std::string> pageFiles;  // one line each, or one line saying why there is none
    std::string programsNote;            // why the list is empty, or nothing
    // The largest programs, one row each: name, id, commit, growth over the hour and since the
    // analysis began, separated by tabs.
    std::vector<std::string> programs;
    ProgramSort sort;
};

class VirtualMemoryView {
public:
    virtual ~VirtualMemoryView() = default;
    virtual void show(const VirtualMemoryReport& report) = 0;
};

}  // namespace corvane
