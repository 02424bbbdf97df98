// The paging settings of system.ini: the paging drive and the minimum and maximum swap sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/state.h"

namespace corvane {

struct SystemIniValues {
    std::string pagingDirectory;     // the "PagingDrive=" text, bytes as in the file
    int32_t minPagingSize = 0;       // Mo, whole
    double maxPagingSize = 0;        // Mo, may carry a fraction
    std::vector<std::string> lines;  // every line read, without its line end
};

// Splits a file at CR LF, CR or LF; a last line without a line end still counts.
std::vector<std::string> splitLines(const std::string& bytes);

// Reads the three paging keys from system.ini's bytes. Only a line that begins with a key
// (case counts) sets it, the last such line winning; a value that is no number, or that
// does not fit a 32-bit integer, leaves its size as it was.
SystemIniValues readSystemIni(const std::string& bytes);

// The three lines logged for the values: "PagingDrive : C:", "MinPagingSize : 2",
// "MaxPagingFileSize : 1.5".
std::vector<std::string> systemIniLogLines(const std::string& pagingDirectory, int32_t minimum,
                                           double maximum);

// Finds the Windows directory, reads its system.ini into the paging directory and sizes, and
// logs what it found (or why the file could not be read).
void SystemIni(Context& context);

}  // namespace corvane
