// The history procedures of the main window, over the platform.
#include "program/recording.h"

#include <algorithm>
#include <limits>

#include "history/utc_minutes.h"
#include "memory/memory_figures.h"
#include "program/window_opening.h"
#include "stats/labels.h"

namespace corvane {

namespace {

constexpr const char* kHistoryTitle = "Historique du fichier SWAP";

int32_t clampMo(int64_t mo) {
    return static_cast<int32_t>(std::clamp<int64_t>(mo, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

void openHistory(Context& c) {
    c.state.history.open(c.platform.files, c.state.programDirectory, c.platform.system.utcNow());
}

void recordSample(Context& c, int32_t swapMo, const MemoryStatus& memory,
                  std::optional<uint64_t> inUseBytes) {
    Platform& p = c.platform;
    History& history = c.state.history;
    if (!history.isOpen()) return;
    std::optional<int32_t> minute = minuteOf(p.system.utcNow());
    if (!minute) return;  // a clock outside the years the history counts
    const Statistics& s = c.state.stats;
    history.setAnalysis({s.sampleCount > 0, s.minimum, s.maximum, s.average});
    HistorySample sample;
    sample.minute = *minute;
    sample.swapMo = swapMo;
    sample.memoryMo = clampMo(usedPhysicalMo(memory));
    if (inUseBytes) sample.inUseMo = wholeMo(*inUseBytes);
    if (std::optional<CommitCharge> commit = statusCommit(memory)) {
        sample.commitMo = wholeMo(commit->usedBytes);
        sample.commitLimitMo = wholeMo(commit->limitBytes);
    }
    history.addSample(p.files, sample);
}

void closeHistory(Context& c) {
    c.state.history.close(c.platform.files);
}

void startNewHistory(Context& c) {
    c.state.history.startNew(c.platform.files);
}

void showHistoryWindow(Context& c) {
    openOrSay(c, "de l'historique", kHistoryTitle,
              [&] { c.platform.windows.showHistory(c.state.history); });
}

std::string exportName(const DateTime& localNow) {
    auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    // The date as a file name can hold it, and in an order that sorts.
    return "Corvane-historique-" + std::to_string(localNow.year) + "-" + two(localNow.month) + "-" +
           two(localNow.day) + ".csv";
}

void exportHistory(System& system, Dialogs& dialogs, FileSystem& files, History& history) {
    const std::string title = "Exporter l'historique";
    const std::string folder = dialogs.documentsFolder();
    std::string name = exportName(system.utcToLocal(system.utcNow()));
    std::optional<std::string> target;
    while (true) {
        target = dialogs.saveAs(title, name, folder, "Fichiers CSV (*.csv)", "*.csv");
        if (!target) return;
        // The same file may have many names (short names, "..", a network path to this
        // machine): what counts is the file itself.
        if (history.isOwnFile(files, *target)) {
            dialogs.messageBox(
                *target +
                    "\r\nCe fichier est l'historique que Corvane tient à jour : il ne peut pas "
                    "être remplacé par sa copie. Choisissez un autre nom.",
                title, {MsgButtons::Ok, MsgIcon::Exclamation});
            continue;
        }
        // Read without opening it, as the swap file is.
        if (files.swapFileSize(*target).known) {
            MsgAnswer answer = dialogs.messageBox(
                *target + "\r\nCe fichier existe déjà. Voulez-vous le remplacer ?", title,
                {MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Second});
            if (answer != MsgAnswer::Yes) continue;
        }
        break;
    }
    try {
        history.exportTo(files, *target);
    } catch (const RuntimeError& error) {
        dialogs.messageBox(
            "L'historique n'a pas pu être exporté vers " + *target + "\r\n" + error.description(),
            kHistoryTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    dialogs.messageBox("L'historique a été exporté dans :\r\n" + *target, title,
                       {MsgButtons::Ok, MsgIcon::Information});
}

}  // namespace corvane
