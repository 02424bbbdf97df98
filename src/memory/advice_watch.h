// What Corvane keeps of the page file's advice while it runs: the window while it is open, the
// configuration last read (read again once a minute: it changes only with a restart) and the
// last forecast, which the alert, the icon's tooltip and the export share.
#pragma once

#include <cstdint>
#include <optional>

#include "memory/commit_forecast.h"
#include "memory/page_file_advice.h"
#include "platform/advice_view.h"

namespace corvane {

class AdviceWatch {
public:
    static constexpr uint64_t kConfigurationMs = 60000;

    void attach(AdviceView* view) { view_ = view; }
    void detach(AdviceView* view) {
        if (view_ == view) view_ = nullptr;
    }
    bool isOpen() const { return view_ != nullptr; }
    void show(const AdviceReport& report) {
        if (view_) view_->show(report);
    }

    // True when the configuration is to be read again at `tick`.
    bool configurationDue(uint64_t tick) const {
        return !configurationTick || tick < *configurationTick ||
               tick - *configurationTick >= kConfigurationMs;
    }

    std::optional<uint64_t> configurationTick;
    CrashDumpSetting dump;
    PagingConfiguration paging;
    std::optional<uint64_t> attainableBytes;
    CommitForecast forecast;
    // The advice last worked out, for the export: nothing before the first.
    std::optional<Advice> advice;

private:
    AdviceView* view_ = nullptr;
};

}  // namespace corvane
