#include "media/ExifDate.h"

#include <string>

namespace kyvane {

namespace {

// The field at [start, start + length) as a number; nothing unless every
// character is a digit.
std::optional<int> digitsAt(std::string_view value, std::size_t start, std::size_t length)
{
    int number = 0;
    for (std::size_t i = start; i < start + length; ++i) {
        const char c = value[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

std::optional<std::string> captureTimeFromExifDate(std::string_view value)
{
    if (value.size() < 19)
        return std::nullopt;
    const auto year = digitsAt(value, 0, 4);
    const auto month = digitsAt(value, 5, 2);
    const auto day = digitsAt(value, 8, 2);
    const auto hour = digitsAt(value, 11, 2);
    const auto minute = digitsAt(value, 14, 2);
    const auto second = digitsAt(value, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    // There is no year 0 in the calendar.
    if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    if (*hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;

    // Each field is checked to its width above, so the text is always 19
    // characters; written digit by digit, with no format to outgrow.
    std::string text = "0000/00/00;00:00:00";
    const auto put = [&text](std::size_t at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[at + std::size_t(i)] = char('0' + value % 10);
    };
    put(0, *year, 4);
    put(5, *month, 2);
    put(8, *day, 2);
    put(11, *hour, 2);
    put(14, *minute, 2);
    put(17, *second, 2);
    return text;
}

} // namespace kyvane
