// The history's share of the work: recording one sample, and drawing 30 days of minutes.
#pragma once

#include "bench_util.h"

namespace corvane::bench {

struct HistoryTimes {
    double recordUs;  // one sample recorded, a minute written to the file every 60 samples
    double drawMs;    // 30 days, 43 200 records, drawn into a memory DC of the window's size
    double loadMs;    // 400 days read from the files for a view, the first time it asks
    double allMs;     // "Tout" over 400 days drawn, hours then minutes
};

HistoryTimes measureHistory(const Setup& setup, int runs);

// Writes a history of 400 days into `folder` as this program keeps it: 31 days of minutes in
// Corvane.csv, the hours before them in Corvane-heures.csv; or, `oneFile`, every minute in
// Corvane.csv as earlier versions kept it.
void writeFourHundredDays(const std::string& folder, bool oneFile = false);
// Removes the history's files from `folder`.
void removeHistory(const std::string& folder);

}  // namespace corvane::bench
