// The settings load on any stored texts: every key present or missing, any bytes in each. The
// load either succeeds with values a run can use or raises type mismatch (13) or overflow (6);
// the whole start-up, a few ticks and the exit then run on those values without a crash.
//
// Input: one byte of flags (0x04: the user's decimal separator is "." rather than ",", 0x08: the
// program's folder is read-only); then the stored keys, one a line, as "name=value". Keys are
// named, so that a key added to the store leaves every input meaning what it meant.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fake_platform.h"
#include "persistence/settings.h"
#include "probes/swap_location.h"
#include "program/main_window.h"

namespace {

using namespace corvane;

fake::FakePlatform& platform() {
    static fake::FakePlatform* fake = [] {
        auto* f = new fake::FakePlatform;
        f->files.resize("C:\\pagefile.sys", 50ull << 20);
        f->registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                   {"C:\\pagefile.sys 1536 3072"});
        return f;
    }();
    return *fake;
}

// The fakes remember every call; one input's memory is all a run needs.
void forget(fake::FakePlatform& f) {
    f.trace.clear();
    f.view.writes.clear();
    f.settings.savedKeys.clear();
    f.settings.readKeys.clear();
    f.dialogs.shown.clear();
    f.db.lists.clear();
    f.windows.aboutView = fake::FakeAboutView();
}

void store(fake::FakePlatform& f, const std::string& lines) {
    forget(f);
    f.settings.values.clear();
    size_t at = 0;
    while (at < lines.size()) {
        size_t end = lines.find('\n', at);
        if (end == std::string::npos) end = lines.size();
        const std::string line = lines.substr(at, end - at);
        size_t equals = line.find('=');
        if (equals != std::string::npos) {
            f.settings.values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        at = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fake::FakePlatform& f = platform();
    f.system.decimal = (data[0] & 0x04) ? "." : ",";
    bool readOnly = data[0] & 0x08;
    std::string lines(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The load alone.
    store(f, lines);
    Context c{f.platform, {}, false, false, false};
    try {
        LoadRegistre(c);
        if (c.state.stats.sampleCount < 0) __builtin_trap();
        if (!std::isfinite(c.state.stats.startTick)) __builtin_trap();
        const std::string period = f.view.texts[Control::lblRaf];
        int seconds = std::stoi(period);
        if (seconds < 1 || seconds > 60 || period != std::to_string(seconds) + " s")
            __builtin_trap();
    } catch (const RuntimeError& e) {
        if (e.number() != kErrTypeMismatch && e.number() != kErrOverflow) __builtin_trap();
    }

    // A whole run on the same store: start-up, three ticks, the exit.
    store(f, lines);
    f.files.readOnlyFolders.clear();
    if (readOnly) f.files.readOnlyFolders.insert("C:\\Corvane");
    {
        MainWindow window(f.platform);
        window.onLoad();
        for (int i = 0; i < 3; ++i) {
            f.system.ticks += 1000;
            window.onTimer(TimerId::MainTimer1);
        }
        window.onMenu(MenuItem::quitter);
        if (!window.ended()) __builtin_trap();
    }
    std::filesystem::remove(f.files.hostPath("C:\\Corvane\\Corvane.txt"));
    std::filesystem::remove(f.files.hostPath("C:\\Corvane\\Corvane.old"));
    return 0;
}
