// system.ini's paging settings read from any bytes: the maximum stays what a 32-bit count of
// kilobytes can give, the paging folder is one line's text, and the log lines are made.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "probes/system_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    SystemIniValues values = readSystemIni(bytes);
    if (values.pagingDirectory.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    // The maximum is made a 32-bit number of kilobytes before it becomes Mo (the minimum is
    // made 32-bit only once in Mo).
    if (!(std::fabs(values.maxPagingSize) <= 2097152.0)) __builtin_trap();
    size_t lineBytes = 0;
    for (const std::string& line : values.lines) lineBytes += line.size();
    if (lineBytes > bytes.size()) __builtin_trap();
    systemIniLogLines(values.pagingDirectory, values.minPagingSize, values.maxPagingSize);
    return 0;
}
