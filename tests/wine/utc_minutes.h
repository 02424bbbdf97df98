// The clock as the history counts it: whole seconds and minutes since 1601, UTC, and a minute as
// the history writes it ("2026-12-08 06:17"), for the tests that write or read one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace corvane::wine {

inline int64_t utcSecondNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000000;
}

inline int64_t utcMinuteNow() {
    return utcSecondNow() / 60;
}

inline std::string minuteText(int64_t minute) {
    int64_t ticks = minute * 600000000;
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME st;
    FileTimeToSystemTime(&file, &st);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute);
    return text;
}

}  // namespace corvane::wine
