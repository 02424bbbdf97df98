// Applying a refresh period.
#include "commands/refresh_rate.h"

#include <string>

#include "persistence/settings_keys.h"

namespace corvane {

void majRaf(Context& c, int32_t periodSeconds) {
    Platform& p = c.platform;
    p.view.setText(Control::lblRaf, std::to_string(periodSeconds) + " s");
    p.settings.save(kSettingsApp, kSettingsSection, kKeyRefreshRate, std::to_string(periodSeconds));
    p.view.setTimerEnabled(TimerId::MainTimer1, false);
    p.view.setTimerInterval(TimerId::MainTimer1,
                            static_cast<uint32_t>(static_cast<int64_t>(periodSeconds) * 1000));
    p.view.setTimerEnabled(TimerId::MainTimer1, true);
    p.view.setSliderPosition(periodSeconds);
}

}  // namespace corvane
