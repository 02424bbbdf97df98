// Loading, saving and clearing the settings.
#include "persistence/settings.h"

#include <algorithm>
#include <string>

#include "persistence/refresh_rate.h"
#include "common/conversions.h"
#include "common/numbers.h"
#include "layout/main_layout.h"
#include "persistence/settings_keys.h"

namespace corvane {

namespace {

// An analysis cannot have run longer: 2^53 ms, where a double stops holding every millisecond.
constexpr double kLongestElapsedMs = 9007199254740992.0;

constexpr int32_t kDefaultPeriod = 1;

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

}  // namespace

int32_t rememberedMaxPaging(double maxPagingSize) {
    // The configured maximum may carry a fraction of a Mo (97.65625); the store keeps it as the
    // whole number it reads back, so that an unchanged configuration compares equal.
    return doubleToLong(maxPagingSize);
}

void LoadRegistre(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;
    const std::string sep = p.system.decimalSeparator();
    s.lastSaveTick = p.system.tickCount();

    s.sansApropos = textToBoolean(get(p, kKeyNoAboutAtExit, booleanText(false)), sep);

    int32_t count = textToLong(get(p, kKeySampleCount, "0"), sep);
    // A count below zero would reach a division by zero a few samples later.
    if (count < 0) throw RuntimeError(kErrTypeMismatch);
    s.stats.sampleCount = count;

    s.memoSwap = get(p, kKeyMemoSwap, "");
    s.stats.maximum = sizeMo(get(p, kKeyMaxSwap, "0"), sep);
    s.stats.total = get(p, kKeyTotSwap, "0");
    s.stats.minimum = sizeMo(get(p, kKeyMinSwap, "32767"), sep);
    s.memoMinPaging = textToLong(get(p, kKeyMemoMinPaging, "0"), sep);
    s.memoMaxPaging = textToLong(get(p, kKeyMemoMaxPaging, "0"), sep);

    double elapsed = textToDouble(get(p, kKeyElapsed, "0"), sep);
    // Time does not run backwards: such a value was not written by a run of the program.
    if (!(elapsed >= 0 && elapsed <= kLongestElapsedMs)) throw RuntimeError(kErrTypeMismatch);
    s.stats.startTick = static_cast<double>(p.system.tickCount()) - elapsed;

    // The timer takes 1 to 65535 ms and the slider 1 to 60: a period outside what the window
    // offers is brought back to the nearest it does.
    int32_t period = textToLong(get(p, kKeyRefreshRate, std::to_string(kDefaultPeriod)), sep);
    majRaf(c, std::clamp(period, kSliderMin, kSliderMax));
}

void SaveRegistre(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;
    const std::string sep = p.system.decimalSeparator();
    uint64_t now = p.system.tickCount();

    put(p, kKeySampleCount, std::to_string(s.stats.sampleCount));
    put(p, kKeyNoAboutAtExit, booleanText(s.sansApropos));
    put(p, kKeyMemoSwap, s.swapPath);
    put(p, kKeyMaxSwap, std::to_string(s.stats.maximum));
    put(p, kKeyTotSwap, totalText(s.stats.total, sep));
    put(p, kKeyMinSwap, std::to_string(s.stats.minimum));
    put(p, kKeyMemoMinPaging, std::to_string(s.minPagingSize));
    put(p, kKeyMemoMaxPaging, std::to_string(rememberedMaxPaging(s.maxPagingSize)));
    put(p, kKeyElapsed, numberText(static_cast<double>(now) - s.stats.startTick, sep));
    s.lastSaveTick = now;
}

void ClearRegistre(Context& c) {
    Statistics& st = c.state.stats;
    st.sampleCount = 0;
    st.maximum = 0;
    st.total = 0.0;
    st.minimum = 32767;
    st.startTick = static_cast<double>(c.platform.system.tickCount());
    // Derived from the two zeros above; the journal's summary reads it before the next sample.
    st.average = 0;
    SaveRegistre(c);
}

void checkpointRegistre(Context& c) {
    uint64_t now = c.platform.system.tickCount();
    uint64_t last = c.state.lastSaveTick;
    if (now >= last && now - last < kCheckpointMs) return;
    // Counted from the attempt: a store that fails is tried again in ten minutes, not each tick.
    c.state.lastSaveTick = now;
    try {
        SaveRegistre(c);
    } catch (const RuntimeError&) {
        // The exit saves again and says so if the store still fails.
    }
}

void repairRefreshRate(Context& c) {
    Platform& p = c.platform;
    try {
        textToLong(get(p, kKeyRefreshRate, std::to_string(kDefaultPeriod)),
                   p.system.decimalSeparator());
    } catch (const RuntimeError&) {
        put(p, kKeyRefreshRate, std::to_string(kDefaultPeriod));
    }
}

}  // namespace corvane
