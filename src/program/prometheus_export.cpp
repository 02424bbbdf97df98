// The Prometheus export, over the platform.
#include "program/prometheus_export.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "alerts/alert_texts.h"
#include "common/numbers.h"
#include "memory/memory_figures.h"
#include "persistence/journal.h"
#include "persistence/settings.h"
#include "persistence/settings_keys.h"
#include "platform/write_aside.h"
#include "program/advice.h"
#include "program/window_opening.h"
#include "prometheus/prometheus_place.h"
#include "prometheus/prometheus_text.h"

namespace corvane {

namespace {

constexpr const char* kDialogTitle = "Exporter vers Prometheus";
constexpr const char* kProgramFilesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
// An exporter holds the file for milliseconds: three more tries over a tenth of a second.
constexpr int kHeldAttempts = 4;
constexpr uint32_t kHeldPauseMs = 35;

// Refused because another program has the file open: for a moment only, as a rule.
bool heldElsewhere(const RuntimeError& error) {
    return error.number() == kErrPermissionDenied || error.number() == kErrPathFileAccess;
}

uint64_t bytesOfMo(int32_t mo) {
    return static_cast<uint64_t>(std::max(mo, 0)) * kBytesPerMo;
}

// The programs that hold the most, each name once with its processes added together: a series
// per process id or place would be a new one at each restart or change of place.
std::vector<PrometheusProgram> programsByName(const std::vector<ProgramFigures>& processes) {
    std::map<std::string, PrometheusProgram> byName;
    for (const ProgramFigures& process : processes) {
        PrometheusProgram& program = byName[process.name];
        program.name = process.name;
        program.commitBytes += process.commitBytes;
        program.commitCapped = program.commitCapped || process.commitCapped;
    }
    std::vector<PrometheusProgram> programs;
    programs.reserve(byName.size());
    for (auto& [name, program] : byName) programs.push_back(std::move(program));
    const size_t count = std::min(programs.size(), kProgramsOfAMinute);
    std::partial_sort(programs.begin(), programs.begin() + static_cast<std::ptrdiff_t>(count),
                      programs.end(), [](const PrometheusProgram& a, const PrometheusProgram& b) {
                          if (a.commitBytes != b.commitBytes) return a.commitBytes > b.commitBytes;
                          return a.name < b.name;
                      });
    programs.resize(count);
    return programs;
}

// The advice as it stands at this export, and the forecast of this tick.
void gatherAdvice(Context& c, const MemoryStatus& memory, PrometheusFigures& f) {
    currentAdviceReport(c, memory);
    const AdviceWatch& watch = c.state.advice;
    if (const CommitForecast& forecast = watch.forecast; forecast.trend) {
        f.commitTrendBytesPerSecond = std::llround(forecast.trend->bytesPerSecond);
        // Beyond the forecast's week the time is no figure, only "more than that".
        if (forecast.trend->rising() && forecast.toAttainableSeconds &&
            *forecast.toAttainableSeconds <= kForecastHorizonSeconds)
            f.exhaustionSeconds = *forecast.toAttainableSeconds;
    }
    f.attainableLimitBytes = watch.attainableBytes;
    if (watch.advice) {
        if (watch.advice->initialMo) f.advisedInitialBytes = *watch.advice->initialMo * kBytesPerMo;
        if (watch.advice->maximumMo) f.advisedMaximumBytes = *watch.advice->maximumMo * kBytesPerMo;
    }
    for (const PageFileSetting& file : watch.paging.files) {
        std::string volume = file.path.substr(0, 2);
        bool listed = std::any_of(f.volumeFreeBytes.begin(), f.volumeFreeBytes.end(),
                                  [&](const auto& v) { return v.first == volume; });
        // Two page files on one volume: one series for it, or the scrape fails on the duplicate.
        if (file.volume && !listed) f.volumeFreeBytes.emplace_back(volume, file.volume->freeBytes);
    }
}

PrometheusFigures gather(Context& c, const MemoryStatus& memory) {
    Platform& p = c.platform;
    const MainState& s = c.state;
    const Statistics& st = s.stats;
    PrometheusFigures f;
    // Only a swap file read at this tick has figures of this run to give.
    if (!s.swapPath.empty() && s.swapReadable && st.sampleCount > 0) {
        f.swap = PrometheusSwap{s.swapPath, bytesOfMo(st.current), bytesOfMo(st.minimum),
                                bytesOfMo(st.maximum), bytesOfMo(st.average)};
    }
    f.samples = st.sampleCount;
    double elapsedMs = static_cast<double>(p.system.tickCount()) - st.startTick;
    f.elapsedSeconds = elapsedMs > 0 ? static_cast<int64_t>(elapsedMs / 1000) : 0;
    if (memory.totalPhys > 0) {
        f.memoryTotalBytes = memory.totalPhys;
        f.memoryUsedBytes = memory.totalPhys - std::min(memory.availPhys, memory.totalPhys);
    }
    std::optional<CommitCharge> commit = statusCommit(memory);
    if (!commit) commit = p.memory.commitCharge();
    if (commit) {
        f.commitBytes = commit->usedBytes;
        f.commitLimitBytes = commit->limitBytes;
    }
    // The analysis keeps its largest commit in whole Mo, which may round below the commit now.
    if (st.maxCommitMo > 0) {
        f.commitPeakBytes = std::max(bytesOfMo(st.maxCommitMo), f.commitBytes.value_or(0));
    }
    Listing<PageFileUse> pageFiles = p.memory.pageFiles();
    if (pageFiles.supported) f.pageFiles = pageFiles.items;
    for (AlertKind kind :
         {AlertKind::Commit, AlertKind::SwapGrowth, AlertKind::Memory, AlertKind::Exhaustion}) {
        f.alerts.push_back(
            {std::string(alertName(kind)), s.alerts.raised(kind), s.alerts.count(kind)});
    }
    gatherAdvice(c, memory, f);
    std::vector<PrometheusProgram> top = programsByName(s.memoryWatch.growth().figures());
    if (!top.empty()) f.programs = std::move(top);
    return f;
}

// An exporter reads the file without letting it be replaced or deleted (it opens it without
// FILE_SHARE_DELETE), for the few milliseconds a read takes: a step that meets it is tried
// again shortly rather than given up for the minute.
template <class Step>
void whileHeldTryAgain(Platform& p, Step&& step) {
    for (int attempt = 1;; ++attempt) {
        try {
            step();
            return;
        } catch (const RuntimeError& error) {
            if (!heldElsewhere(error) || attempt == kHeldAttempts) throw;
        }
        p.system.pause(kHeldPauseMs);
    }
}

// Says in the journal why the file at `path` could not be written (or removed).
void journal(Context& c, const std::string& path, const std::string& reason, bool removal) {
    Platform& p = c.platform;
    DateTime now = p.system.localNow();
    const std::string date = p.system.formatShortDate(now);
    const std::string time = p.system.formatTime(now);
    appendToJournal(c, removal ? prometheusRemovalJournalLine(path, reason, date, time)
                               : prometheusJournalLine(path, reason, date, time));
}

// Writes the whole file beside its place, then puts it there in one step: a scrape reads the
// old file or the new one, never half of one. What is left of a temporary file that failed
// goes, so that no stale one lingers for the next try.
void writeFile(Context& c, const MemoryStatus& memory) {
    Platform& p = c.platform;
    MainState& s = c.state;
    const std::string& folder = s.prometheus.folder;
    const std::string target = prometheusPath(folder);
    const std::string temporary = prometheusTemporaryPath(folder);
    std::string reason;
    bool held = false;
    try {
        writeAside(p.files, temporary, prometheusText(gather(c, memory)), [&] {
            try {
                whileHeldTryAgain(p, [&] { p.files.replaceFile(temporary, target); });
            } catch (const RuntimeError& error) {
                held = heldElsewhere(error);
                throw;
            }
        });
        s.prometheusFailure.reset();
        s.prometheusHeld = false;
        return;
    } catch (const RuntimeError& error) {
        reason = p.files.isFolder(folder) ? std::string(error.what())
                                          : "le dossier " + folder + " n'existe pas";
    }
    // Held through a whole minute's retries once is a long scrape or a virus scan; held again
    // at the next write, it lasts.
    const bool firstHeld = held && !s.prometheusHeld;
    s.prometheusHeld = held;
    if (firstHeld || s.prometheusFailure == reason) return;
    s.prometheusFailure = reason;
    journal(c, target, reason, false);
}

// The file where the export no longer writes: left there, its last figures would read as
// current ones (an alert raised forever).
void removeFile(Context& c, const std::string& folder) {
    Platform& p = c.platform;
    const std::string target = prometheusPath(folder);
    try {
        p.files.deleteFile(prometheusTemporaryPath(folder));
    } catch (const RuntimeError&) {
        // None left over, as is usual.
    }
    try {
        whileHeldTryAgain(p, [&] { p.files.deleteFile(target); });
    } catch (const RuntimeError& error) {
        if (error.number() == kErrFileNotFound || error.number() == kErrPathNotFound) return;
        journal(c, target, error.what(), true);
    }
}

}  // namespace

void exportToPrometheus(Context& c, const MemoryStatus& memory) {
    MainState& s = c.state;
    bool due = s.prometheusDue;
    s.prometheusDue = false;
    if (!due || !s.prometheus.on || s.prometheus.folder.empty()) return;
    writeFile(c, memory);
}

std::string defaultPrometheusFolder(Platform& p) {
    // A 32-bit program is given "Program Files (x86)" as its own; the exporter is a 64-bit one.
    for (const char* name : {"ProgramW6432Dir", "ProgramFilesDir"}) {
        bool expandable = false;
        std::optional<std::string> programs =
            p.registry.readText(RootKey::LocalMachine, kProgramFilesKey, name, &expandable);
        if (!programs || programs->empty()) continue;
        if (expandable) programs = p.system.expandEnvironment(*programs);
        std::string folder = *programs + "\\windows_exporter\\textfile_inputs";
        if (p.files.isFolder(folder)) return folder;
    }
    return "";
}

void editPrometheusExport(Context& c) {
    Platform& p = c.platform;
    PrometheusSettings current = c.state.prometheus;
    if (current.folder.empty()) current.folder = defaultPrometheusFolder(p);
    std::optional<PrometheusSettings> chosen;
    if (!openOrSay(c, "de l'exportation", kDialogTitle,
                   [&] { chosen = p.windows.editPrometheus(current); })) {
        return;
    }
    if (!chosen || prometheusSettingsProblem(*chosen)) return;
    const PrometheusSettings before = c.state.prometheus;
    c.state.prometheus = *chosen;
    c.state.prometheusHeld = false;
    if (before.on && !before.folder.empty() && (!chosen->on || chosen->folder != before.folder)) {
        removeFile(c, before.folder);
    }
    c.state.prometheusFailure.reset();
    try {
        saveSettingKeys(c, {kKeyPrometheusExport, kKeyPrometheusFolder});
    } catch (const RuntimeError&) {
        // Kept for this run only: the store refused them.
    }
    if (c.state.prometheus.on) {
        c.state.prometheusDue = true;
        exportToPrometheus(c, p.system.memoryStatus());
    }
}

}  // namespace corvane
