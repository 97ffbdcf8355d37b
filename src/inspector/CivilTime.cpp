#include "inspector/CivilTime.h"

#include <array>

namespace orx {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

bool IsLeapYear(std::int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(std::int64_t year, int month)
{
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Days since 1970-01-01, counting eras of 400 years (146097 days) from March 1st so that
// the leap day ends a year.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void AppendDigits(std::u16string& text, std::int64_t value, int width)
{
    std::u16string digits;
    for (int i = 0; i < width || value != 0; ++i) {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    }
    text += digits;
}

// Reads exactly `count` digits at `at`.
std::optional<std::int64_t> Digits(std::u16string_view text, std::size_t& at, std::size_t count)
{
    if (at + count > text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t c = text[at + i];
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    at += count;
    return value;
}

bool Expect(std::u16string_view text, std::size_t& at, char16_t c)
{
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

} // namespace

CivilTime CivilFromUnixSeconds(std::int64_t seconds, std::uint32_t ticks)
{
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153; // from March
    CivilTime time;
    time.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    time.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    time.year = yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0);
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    time.ticks = ticks;
    return time;
}

std::int64_t UnixSecondsFromCivil(const CivilTime& time)
{
    return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600 +
           time.minute * 60 + time.second;
}

bool IsValidCivil(const CivilTime& time)
{
    return time.month >= 1 && time.month <= 12 && time.day >= 1 &&
           time.day <= DaysInMonth(time.year, time.month) && time.hour >= 0 && time.hour <= 23 &&
           time.minute >= 0 && time.minute <= 59 && time.second >= 0 && time.second <= 59 &&
           time.ticks < 10'000'000;
}

std::u16string FormatCivil(const CivilTime& time, bool utc)
{
    std::u16string text;
    if (time.year < 0) {
        text += u'-';
    }
    AppendDigits(text, time.year < 0 ? -time.year : time.year, 4);
    text += u'-';
    AppendDigits(text, time.month, 2);
    text += u'-';
    AppendDigits(text, time.day, 2);
    text += u' ';
    AppendDigits(text, time.hour, 2);
    text += u':';
    AppendDigits(text, time.minute, 2);
    text += u':';
    AppendDigits(text, time.second, 2);
    if (time.ticks != 0) {
        text += u'.';
        AppendDigits(text, time.ticks, 7);
    }
    if (utc) {
        text += u" UTC";
    }
    return text;
}

std::optional<CivilTime> ParseCivil(std::u16string_view text)
{
    std::size_t at = 0;
    CivilTime time;
    const auto year = Digits(text, at, 4);
    std::optional<std::int64_t> month;
    std::optional<std::int64_t> day;
    if (!year || !Expect(text, at, u'-') || !(month = Digits(text, at, 2)) ||
        !Expect(text, at, u'-') || !(day = Digits(text, at, 2))) {
        return std::nullopt;
    }
    time.year = *year;
    time.month = static_cast<int>(*month);
    time.day = static_cast<int>(*day);
    if (at < text.size() && (text[at] == u' ' || text[at] == u'T')) {
        ++at;
        std::optional<std::int64_t> hour;
        std::optional<std::int64_t> minute;
        std::optional<std::int64_t> second;
        if (!(hour = Digits(text, at, 2)) || !Expect(text, at, u':') ||
            !(minute = Digits(text, at, 2)) || !Expect(text, at, u':') ||
            !(second = Digits(text, at, 2))) {
            return std::nullopt;
        }
        time.hour = static_cast<int>(*hour);
        time.minute = static_cast<int>(*minute);
        time.second = static_cast<int>(*second);
        if (Expect(text, at, u'.')) {
            std::size_t digits = 0;
            std::uint32_t ticks = 0;
            while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && digits < 7) {
                ticks = ticks * 10 + static_cast<std::uint32_t>(text[at++] - u'0');
                ++digits;
            }
            if (digits == 0) {
                return std::nullopt;
            }
            for (; digits < 7; ++digits) {
                ticks *= 10;
            }
            time.ticks = ticks;
        }
    }
    const std::u16string_view rest = text.substr(at);
    if (!rest.empty() && rest != u" UTC" && rest != u"Z" && rest != u"UTC") {
        return std::nullopt;
    }
    if (!IsValidCivil(time)) {
        return std::nullopt;
    }
    return time;
}

} // namespace orx
