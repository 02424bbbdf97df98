// Civil dates to and from a count of days, by the usual era arithmetic (no time zone involved).
#include "history/utc_minutes.h"

namespace corvane {

namespace {

int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

std::optional<int32_t> minuteOf(const DateTime& when) {
    if (when.year < 1970 || when.year > kLastYear) return std::nullopt;
    if (!isValidDate(when.year, when.month, when.day)) return std::nullopt;
    if (when.hour < 0 || when.hour > 23 || when.minute < 0 || when.minute > 59) return std::nullopt;
    int64_t minutes = daysFromCivil(when.year, when.month, when.day) * kMinutesPerDay +
                      when.hour * 60 + when.minute;
    return static_cast<int32_t>(minutes);
}

DateTime dateTimeOf(int32_t minute) {
    int64_t days =
        minute >= 0 ? minute / kMinutesPerDay : (minute - (kMinutesPerDay - 1)) / kMinutesPerDay;
    int64_t inDay = minute - days * kMinutesPerDay;
    DateTime when;
    civilFromDays(days, when.year, when.month, when.day);
    when.hour = static_cast<int>(inDay / 60);
    when.minute = static_cast<int>(inDay % 60);
    when.second = 0;
    return when;
}

}  // namespace corvane
