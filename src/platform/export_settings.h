// Where the user wants Corvane's figures for Prometheus' exporters: on or off, and the folder
// their textfile collector reads. Kept in the settings store.
#pragma once

#include <string>

namespace corvane {

struct PrometheusSettings {
    bool on = false;
    std::string folder;  // no trailing "\" needed
};

// The file's name: the collectors read only "*.prom" files.
inline constexpr const char* kPrometheusFileName = "corvane.prom";

}  // namespace corvane
