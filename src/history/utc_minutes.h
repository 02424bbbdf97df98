// Dates and times as whole minutes since 1970-01-01 00:00, the scale the history counts in.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/records.h"

namespace corvane {

inline constexpr int32_t kMinutesPerDay = 1440;
// The last year the history counts (its minutes stay within 32 bits).
inline constexpr int kLastYear = 3999;

// The minute that holds `when` (its seconds dropped), or nothing for a date that is not a real
// one or lies outside the years 1970 to 3999.
std::optional<int32_t> minuteOf(const DateTime& when);

// The date and time at the start of `minute` (seconds 0).
DateTime dateTimeOf(int32_t minute);

// True for a day that exists in the Gregorian calendar.
bool isValidDate(int year, int month, int day);

}  // namespace corvane
