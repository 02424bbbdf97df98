// Loading, saving and clearing the settings.
#include "persistence/settings.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <string>

#include "alerts/alert_limits.h"
#include "common/app.h"
#include "common/conversions.h"
#include "common/numbers.h"
#include "layout/main_layout.h"
#include "persistence/refresh_rate.h"
#include "persistence/settings_keys.h"
#include "prometheus/prometheus_place.h"

namespace corvane {

namespace {

// An analysis cannot have run longer: 2^53 ms, where a double stops holding every millisecond.
constexpr double kLongestElapsedMs = 9007199254740992.0;

// The largest sample count a start carries on: a year of samples at one a second below the
// 32-bit limit. No run gets there (it would take 67 years); a larger count was not written by
// the program, and carried on it would overflow within the run and be saved again, failing
// every later start.
constexpr int32_t kLargestSampleCount = std::numeric_limits<int32_t>::max() - 366 * 86400;

// The period, in seconds, of a first run, and of one whose stored period cannot be read.
constexpr const char* kDefaultPeriod = "1";

std::string get(Platform& p, const char* key, const std::string& defaultValue) {
    return p.settings.get(kSettingsApp, kSettingsSection, key, defaultValue);
}

void put(Platform& p, const char* key, const std::string& value) {
    p.settings.save(kSettingsApp, kSettingsSection, key, value);
}

// The stored values are whole numbers: no separator ever appears in them.
std::string numberText(double value, const std::string& decimalSeparator) {
    return formatGeneral(value, decimalSeparator);
}

std::string totalText(const RunningTotal& total, const std::string& decimalSeparator) {
    if (const double* value = std::get_if<double>(&total)) {
        return numberText(*value, decimalSeparator);
    }
    // Not sampled yet this run: written back as it was read.
    return std::get<std::string>(total);
}

// A size in Mo. The program never writes one below zero: such a value is a damaged setting.
int32_t sizeMo(const std::string& text, const std::string& decimalSeparator) {
    int32_t mo = textToLong(text, decimalSeparator);
    if (mo < 0) throw RuntimeError(kErrTypeMismatch);
    return mo;
}

// A threshold of the alerts outside what the dialog accepts was not written by the program.
int32_t threshold(const std::string& text, const std::string& decimalSeparator,
                  bool (*valid)(int32_t)) {
    int32_t value = textToLong(text, decimalSeparator);
    if (!valid(value)) throw RuntimeError(kErrTypeMismatch);
    return value;
}

}  // namespace

int32_t rememberedMaxPaging(double maxPagingSize) {
    // The configured maximum may carry a fraction of a Mo (97.65625); the store keeps it as the
    // whole number it reads back, so that an unchanged configuration compares equal.
    return doubleToLong(maxPagingSize);
}

namespace {

// What a key's reading and writing work with, besides the window's variables.
struct Stored {
    Context& context;
    std::string decimalSeparator;
    uint64_t now;  // the tick count when the saving began
};

// One key of the store. The table below is in load order; `saveOrder` is the key's place among
// those SaveRegistre writes (0: never written by it), and `clear`, where there is one, is what
// ClearRegistre does to the statistics the key keeps.
struct SettingKey {
    const char* name;
    const char* absent;  // what reading a key that is not in the store gives
    int saveOrder;
    void (*load)(Stored& stored, const std::string& text);
    std::string (*save)(const Stored& stored);
    void (*clear)(Statistics& stats, double now);
};

MainState& state(const Stored& s) {
    return s.context.state;
}

const SettingKey kSettingKeys[] = {
    {"JM_R", "False", 2,
     [](Stored& s, const std::string& t) {
         state(s).sansApropos = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).sansApropos); }, nullptr},
    {"NB", "0", 1,
     [](Stored& s, const std::string& t) {
         int32_t count = textToLong(t, s.decimalSeparator);
         // A count below zero would reach a division by zero a few samples later.
         if (count < 0 || count > kLargestSampleCount) throw RuntimeError(kErrTypeMismatch);
         state(s).stats.sampleCount = count;
     },
     [](const Stored& s) { return std::to_string(state(s).stats.sampleCount); },
     [](Statistics& st, double) { st.sampleCount = 0; }},
    {"MemoSwap", "", 3, [](Stored& s, const std::string& t) { state(s).memoSwap = t; },
     [](const Stored& s) { return state(s).swapPath; }, nullptr},
    {"MaxSwap", "0", 4,
     [](Stored& s, const std::string& t) {
         state(s).stats.maximum = sizeMo(t, s.decimalSeparator);
     },
     [](const Stored& s) { return std::to_string(state(s).stats.maximum); },
     [](Statistics& st, double) { st.maximum = 0; }},
    {"TotSwap", "0", 5, [](Stored& s, const std::string& t) { state(s).stats.total = t; },
     [](const Stored& s) { return totalText(state(s).stats.total, s.decimalSeparator); },
     [](Statistics& st, double) { st.total = 0.0; }},
    {"MinSwap", "32767", 6,
     [](Stored& s, const std::string& t) {
         state(s).stats.minimum = sizeMo(t, s.decimalSeparator);
     },
     [](const Stored& s) { return std::to_string(state(s).stats.minimum); },
     [](Statistics& st, double) { st.minimum = 32767; }},
    {"MemoMinPaging", "0", 7,
     [](Stored& s, const std::string& t) {
         state(s).memoMinPaging = textToLong(t, s.decimalSeparator);
     },
     [](const Stored& s) { return std::to_string(state(s).minPagingSize); }, nullptr},
    {"MemoMaxPaging", "0", 8,
     [](Stored& s, const std::string& t) {
         state(s).memoMaxPaging = textToLong(t, s.decimalSeparator);
     },
     [](const Stored& s) { return std::to_string(rememberedMaxPaging(state(s).maxPagingSize)); },
     nullptr},
    {"Elapsed", "0", 9,
     [](Stored& s, const std::string& t) {
         double elapsed = textToDouble(t, s.decimalSeparator);
         // Time does not run backwards: such a value was not written by a run of the program.
         if (!(elapsed >= 0 && elapsed <= kLongestElapsedMs)) throw RuntimeError(kErrTypeMismatch);
         state(s).stats.startTick =
             static_cast<double>(s.context.platform.system.tickCount()) - elapsed;
     },
     [](const Stored& s) {
         return numberText(static_cast<double>(s.now) - state(s).stats.startTick,
                           s.decimalSeparator);
     },
     [](Statistics& st, double now) { st.startTick = now; }},
    // The timer takes 1 to 65535 ms and the slider 1 to 60: a period outside what the window
    // offers is brought back to the nearest it does. Only majRaf writes it.
    {kKeyRefreshRate, kDefaultPeriod, 0,
     [](Stored& s, const std::string& t) {
         int32_t period = textToLong(t, s.decimalSeparator);
         majRaf(s.context, std::clamp(period, kSliderMin, kSliderMax));
     },
     nullptr, nullptr},
    // Added after the period so that the ten keys before it keep their order.
    {"MaxCommit", "0", 10,
     [](Stored& s, const std::string& t) {
         state(s).stats.maxCommitMo = sizeMo(t, s.decimalSeparator);
     },
     [](const Stored& s) { return std::to_string(state(s).stats.maxCommitMo); },
     [](Statistics& st, double) { st.maxCommitMo = 0; }},
    // The icon and the alerts: the user's choices, which no reset touches. As the period, they
    // are written when the user makes them, never by SaveRegistre.
    {kKeyTrayIcon, "False", 0,
     [](Stored& s, const std::string& t) {
         state(s).trayIcon = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).trayIcon); }, nullptr},
    {kKeyCommitAlert, "True", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.commitOn = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).alertSettings.commitOn); }, nullptr},
    {kKeyCommitThreshold, "90", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.commitPercent = threshold(t, s.decimalSeparator, validAlertPercent);
     },
     [](const Stored& s) { return std::to_string(state(s).alertSettings.commitPercent); }, nullptr},
    {kKeySwapAlert, "True", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.swapGrowthOn = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).alertSettings.swapGrowthOn); }, nullptr},
    {kKeySwapThreshold, "512", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.swapGrowthMo = threshold(t, s.decimalSeparator, validAlertGrowthMo);
     },
     [](const Stored& s) { return std::to_string(state(s).alertSettings.swapGrowthMo); }, nullptr},
    {kKeyMemoryAlert, "False", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.memoryOn = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).alertSettings.memoryOn); }, nullptr},
    {kKeyMemoryThreshold, "90", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.memoryPercent = threshold(t, s.decimalSeparator, validAlertPercent);
     },
     [](const Stored& s) { return std::to_string(state(s).alertSettings.memoryPercent); }, nullptr},
    {kKeyExhaustionAlert, "True", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.exhaustionOn = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).alertSettings.exhaustionOn); }, nullptr},
    {kKeyExhaustionThreshold, "6", 0,
     [](Stored& s, const std::string& t) {
         state(s).alertSettings.exhaustionHours = threshold(t, s.decimalSeparator, validAlertHours);
     },
     [](const Stored& s) { return std::to_string(state(s).alertSettings.exhaustionHours); },
     nullptr},
    {kKeyPrometheusExport, "False", 0,
     [](Stored& s, const std::string& t) {
         state(s).prometheus.on = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).prometheus.on); }, nullptr},
    {kKeyPrometheusFolder, "", 0,
     [](Stored& s, const std::string& t) {
         // A folder the dialog refuses would send the file elsewhere (Windows reads a path only
         // up to a NUL inside it): the export then waits for the user to choose one.
         if (prometheusSettingsProblem({false, t})) {
             state(s).prometheus = {};
             return;
         }
         state(s).prometheus.folder = t;
     },
     [](const Stored& s) { return state(s).prometheus.folder; }, nullptr},
    {kKeyEventLog, "False", 0,
     [](Stored& s, const std::string& t) {
         state(s).eventLogOn = textToBoolean(t, s.decimalSeparator);
     },
     [](const Stored& s) { return booleanText(state(s).eventLogOn); }, nullptr},
};

}  // namespace

void LoadRegistre(Context& c) {
    Platform& p = c.platform;
    Stored stored{c, p.system.decimalSeparator(), 0};
    c.state.lastSaveTick = p.system.tickCount();
    for (const SettingKey& key : kSettingKeys) key.load(stored, get(p, key.name, key.absent));
}

void SaveRegistre(Context& c, Durability durability) {
    Platform& p = c.platform;
    const Stored stored{c, p.system.decimalSeparator(), p.system.tickCount()};
    // As one set: a run killed while the keys are written must not leave the next start a mix
    // of two runs' statistics (a count of one with the total of the other).
    std::vector<std::pair<std::string, std::string>> values;
    for (int order = 1; order <= static_cast<int>(std::size(kSettingKeys)); ++order) {
        for (const SettingKey& key : kSettingKeys) {
            if (key.saveOrder == order) values.emplace_back(key.name, key.save(stored));
        }
    }
    p.settings.saveAll(kSettingsApp, kSettingsSection, values, durability);
    c.state.lastSaveTick = stored.now;
}

void saveSettingKeys(Context& c, std::initializer_list<const char*> names) {
    Platform& p = c.platform;
    const Stored stored{c, p.system.decimalSeparator(), p.system.tickCount()};
    for (const char* name : names) {
        for (const SettingKey& key : kSettingKeys) {
            if (key.save && std::string(key.name) == name) put(p, key.name, key.save(stored));
        }
    }
}

void ClearRegistre(Context& c) {
    Statistics& st = c.state.stats;
    const double now = static_cast<double>(c.platform.system.tickCount());
    for (const SettingKey& key : kSettingKeys) {
        if (key.clear) key.clear(st, now);
    }
    // Derived from the two zeros above; the journal's summary reads it before the next sample.
    st.average = 0;
    c.state.memoryWatch.restartAnalysis();
    // The new analysis goes on in memory whatever the store does; it is saved again at exit.
    try {
        SaveRegistre(c);
    } catch (const RuntimeError& error) {
        reportStoreFailure(c, error);
    }
}

void reportStoreFailure(Context& c, const RuntimeError& error) {
    if (c.storeFailureReported) return;
    c.storeFailureReported = true;
    c.platform.dialogs.messageBox(
        std::string("Vos paramètres n'ont pas pu être enregistrés : Corvane continue sans eux.") +
            "\r\n" + error.what(),
        kAppTitle, {MsgButtons::Ok, MsgIcon::Exclamation});
}

void checkpointSettings(Context& c) {
    uint64_t now = c.platform.system.tickCount();
    uint64_t last = c.state.lastSaveTick;
    if (now >= last && now - last < kCheckpointMs) return;
    // Counted from the attempt: a store that fails is tried again in ten minutes, not each tick.
    c.state.lastSaveTick = now;
    try {
        // Not forced to disk: the system writes it within seconds, and a flush every ten
        // minutes would rewrite the user's whole hive 144 times a day.
        SaveRegistre(c, Durability::Lazy);
    } catch (const RuntimeError&) {
        // The exit saves again and says so if the store still fails.
    }
}

void repairUserChoices(Context& c) {
    Platform& p = c.platform;
    try {
        textToLong(get(p, kKeyRefreshRate, kDefaultPeriod), p.system.decimalSeparator());
    } catch (const RuntimeError&) {
        try {
            put(p, kKeyRefreshRate, kDefaultPeriod);
        } catch (const RuntimeError& error) {
            reportStoreFailure(c, error);
        }
    }
    // The other choices only the user writes go back to their defaults the same way; each is
    // read into variables of no window, so that reading it changes nothing else.
    Context scratch{p, {}, false, false, false, false, false};
    Stored stored{scratch, p.system.decimalSeparator(), 0};
    for (const SettingKey& key : kSettingKeys) {
        if (key.saveOrder != 0 || std::string(key.name) == kKeyRefreshRate) continue;
        try {
            key.load(stored, get(p, key.name, key.absent));
        } catch (const RuntimeError&) {
            put(p, key.name, key.absent);
        }
    }
}

}  // namespace corvane
