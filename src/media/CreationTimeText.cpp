#include "media/CreationTimeText.h"

#include <cstdio>

namespace kyvane {

namespace {

constexpr std::int64_t kSeconds1904To1970 = 2082844800;
// The largest count of seconds whose microseconds still fit in 64 bits.
constexpr std::int64_t kMaxSeconds = INT64_MAX / 1000000;
constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDay
{
    std::int64_t year;
    int month;
    int day;
};

// The proleptic Gregorian day of a count of days since 1970-01-01 (Howard
// Hinnant's days-to-civil algorithm).
CivilDay civilDay(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

} // namespace

std::optional<std::string> creationTimeText(std::int64_t stored)
{
    if (stored == 0)
        return std::nullopt;
    const std::int64_t seconds =
        stored >= kSeconds1904To1970 ? stored - kSeconds1904To1970 : stored;
    if (seconds > kMaxSeconds || seconds < -kMaxSeconds)
        return std::nullopt;

    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const CivilDay date = civilDay(days);
    char text[64];
    std::snprintf(text, sizeof text, "%lld-%02d-%02dT%02d:%02d:%02d.000000Z",
                  static_cast<long long>(date.year), date.month, date.day, int(secondOfDay / 3600),
                  int(secondOfDay / 60 % 60), int(secondOfDay % 60));
    return std::string(text);
}

} // namespace kyvane
