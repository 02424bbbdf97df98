// The words of the page file's advice: one line per figure, as the window and the clipboard
// show them.
#pragma once

#include "memory/commit_forecast.h"
#include "memory/page_file_advice.h"
#include "platform/advice_view.h"

namespace corvane {

inline constexpr const char* kUnknownFigure = "inconnu";

// The lines, in the window's order (AdviceControl): memory, peak, figures' span, dump, page
// files, volumes, today's and the attainable limit, both advised sizes, verdict, trend, both
// times left, and what the advice lacks.
AdviceReport adviceReport(const AdviceInputs& inputs, const Advice& advice,
                          const CommitForecast& forecast);

// "dans 5 h 10" for a rising commit; "stable" else; "inconnu" without a trend.
std::string timeLeftFigure(const CommitForecast& forecast, std::optional<int64_t> seconds);

}  // namespace corvane
