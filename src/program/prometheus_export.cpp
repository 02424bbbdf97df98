// The Prometheus export, over the platform.
#include "program/prometheus_export.h"

#include <algorithm>
#include <cmath>

#include "memory/memory_figures.h"
#include "persistence/settings.h"
#include "persistence/settings_keys.h"
#include "program/advice.h"
#include "prometheus/prometheus_place.h"
#include "prometheus/prometheus_text.h"

namespace corvane {

namespace {

constexpr uint64_t kMiB = 1048576;
constexpr const char* kDialogTitle = "Exporter vers Prometheus";
constexpr const char* kProgramFilesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

uint64_t bytesOfMo(int32_t mo) {
    return static_cast<uint64_t>(std::max(mo, 0)) * kMiB;
}

// The advice as it stands at this export, and the forecast of this tick.
void gatherAdvice(Context& c, const MemoryStatus& memory, PrometheusFigures& f) {
    conseilReport(c, memory);
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
        if (watch.advice->initialMo) f.advisedInitialBytes = *watch.advice->initialMo * kMiB;
        if (watch.advice->maximumMo) f.advisedMaximumBytes = *watch.advice->maximumMo * kMiB;
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
    const std::pair<AlertKind, const char*> kinds[] = {{AlertKind::Commit, "engagement"},
                                                       {AlertKind::SwapGrowth, "swap"},
                                                       {AlertKind::Memory, "memoire"},
                                                       {AlertKind::Exhaustion, "epuisement"}};
    for (const auto& [kind, name] : kinds) {
        f.alerts.push_back({name, s.alerts.raised(kind), s.alerts.count(kind)});
    }
    gatherAdvice(c, memory, f);
    std::vector<ProgramFigures> top = programsOfTheMinute(s.memoryWatch.growth().figures());
    if (!top.empty()) {
        f.programs.emplace();
        for (const ProgramFigures& program : top) {
            f.programs->push_back({program.name, program.pid, program.commitBytes});
        }
    }
    return f;
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
    try {
        std::string text = prometheusText(gather(c, memory));
        p.files.writeFile(temporary, text);
        p.files.replaceFile(temporary, target);
        s.prometheusFailure.reset();
        return;
    } catch (const RuntimeError& error) {
        reason = p.files.isFolder(folder) ? std::string(error.what())
                                          : "le dossier " + folder + " n'existe pas";
    }
    try {
        p.files.deleteFile(temporary);
    } catch (const RuntimeError&) {
    }
    if (s.prometheusFailure == reason) return;
    s.prometheusFailure = reason;
    DateTime now = p.system.localNow();
    try {
        p.files.appendText(s.journalPath,
                           prometheusJournalLine(target, reason, p.system.formatShortDate(now),
                                                 p.system.formatTime(now)) +
                               "\r\n");
    } catch (const RuntimeError&) {
        // A journal that cannot be written costs the line, never the monitor.
    }
}

}  // namespace

void ExporterPrometheus(Context& c, const MemoryStatus& memory) {
    MainState& s = c.state;
    bool due = s.prometheusDue;
    s.prometheusDue = false;
    if (!due || !s.prometheus.on || s.prometheus.folder.empty()) return;
    writeFile(c, memory);
}

std::string defaultPrometheusFolder(Platform& p) {
    // A 32-bit program is given "Program Files (x86)" as its own; the exporter is a 64-bit one.
    for (const char* name : {"ProgramW6432Dir", "ProgramFilesDir"}) {
        std::optional<std::string> programs =
            p.registry.readText(RootKey::LocalMachine, kProgramFilesKey, name);
        if (!programs || programs->empty()) continue;
        std::string folder = *programs + "\\windows_exporter\\textfile_inputs";
        if (p.files.isFolder(folder)) return folder;
    }
    return "";
}

void prometheusClick(Context& c) {
    Platform& p = c.platform;
    PrometheusSettings current = c.state.prometheus;
    if (current.folder.empty()) current.folder = defaultPrometheusFolder(p);
    std::optional<PrometheusSettings> chosen;
    // A dialog that cannot be made is no reason to end the program.
    try {
        chosen = p.windows.editPrometheus(current);
    } catch (const RuntimeError& error) {
        p.dialogs.messageBox(
            "La fenêtre de l'exportation n'a pas pu s'ouvrir.\r\n" + error.description(),
            kDialogTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    if (!chosen || prometheusSettingsProblem(*chosen)) return;
    c.state.prometheus = *chosen;
    c.state.prometheusFailure.reset();
    try {
        saveSettingKeys(c, {kKeyPrometheusExport, kKeyPrometheusFolder});
    } catch (const RuntimeError&) {
        // Kept for this run only: the store refused them.
    }
    if (c.state.prometheus.on) {
        c.state.prometheusDue = true;
        ExporterPrometheus(c, p.system.memoryStatus());
    }
}

}  // namespace corvane
