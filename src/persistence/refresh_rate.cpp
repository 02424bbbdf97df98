// Applying a refresh period.
#include "persistence/refresh_rate.h"

#include <algorithm>
#include <string>

#include "layout/main_layout.h"
#include "persistence/settings.h"
#include "persistence/settings_keys.h"

namespace corvane {

void majRaf(Context& c, int32_t periodSeconds) {
    Platform& p = c.platform;
    // A damaged stored period (0, negative, hours) would stop the timer or be refused by the
    // slider, and being written back it would fail every later start the same way: bring it
    // into the slider's range so that the label, the store, the timer and the slider agree.
    periodSeconds = std::clamp(periodSeconds, static_cast<int32_t>(kSliderMin),
                               static_cast<int32_t>(kSliderMax));
    p.view.setText(Control::lblRaf, std::to_string(periodSeconds) + " s");
    // A store that refuses the period costs it at the next start, not this run (nor, written
    // back by every start-up, every later run).
    try {
        p.settings.save(kSettingsApp, kSettingsSection, kKeyRefreshRate,
                        std::to_string(periodSeconds));
    } catch (const RuntimeError& error) {
        reportStoreFailure(c, error);
    }
    p.view.setTimerEnabled(TimerId::MainTimer1, false);
    p.view.setTimerInterval(TimerId::MainTimer1,
                            static_cast<uint32_t>(static_cast<int64_t>(periodSeconds) * 1000));
    p.view.setTimerEnabled(TimerId::MainTimer1, true);
    p.view.setSliderPosition(periodSeconds);
}

}  // namespace corvane
