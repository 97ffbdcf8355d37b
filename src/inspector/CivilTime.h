#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

// A date and time in the proleptic Gregorian calendar, to 100 ns.
struct CivilTime {
    std::int64_t year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::uint32_t ticks = 0; // 100 ns units within the second

    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The times shown are years 1 to 9999: wider ones would not read as dates.
inline constexpr std::int64_t kMinShownUnixSeconds = -62135596800; // 0001-01-01 00:00:00
inline constexpr std::int64_t kMaxShownUnixSeconds = 253402300799; // 9999-12-31 23:59:59

[[nodiscard]] CivilTime CivilFromUnixSeconds(std::int64_t seconds, std::uint32_t ticks = 0);
[[nodiscard]] std::int64_t UnixSecondsFromCivil(const CivilTime& time);
// Whether month, day (for that month and year), hour, minute and second are in range.
[[nodiscard]] bool IsValidCivil(const CivilTime& time);

// "2024-02-29 13:05:09", then ".1234567" when there are ticks, then " UTC" when asked.
[[nodiscard]] std::u16string FormatCivil(const CivilTime& time, bool utc);

// "YYYY-MM-DD HH:MM:SS" with an optional fraction of up to 7 digits, "T" allowed for the
// blank, an optional " UTC" or "Z" after it; a date alone is midnight. Nothing for any
// other form or a date or time out of range.
[[nodiscard]] std::optional<CivilTime> ParseCivil(std::u16string_view text);

} // namespace orx
