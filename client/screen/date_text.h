// The date an edit's text names for the calendar of a date field
// ("3-feb-24", "15 MAR 2024") and the text a chosen date is typed as
// ("5-MAR-2024"). Its own file so the reading rules can be checked alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veslink {

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  bool operator==(const CalendarDate&) const = default;
};

// Optional blanks, a day of 1 to 31, separators (blank, '-', '/'), a month
// name by its first three letters, separators, and a year followed only by
// blanks: below 50 is 2000 + year, below 100 is 1900 + year, otherwise 1900
// to 2100; no digits is the year 2000. Only the first 29 characters count.
// Nothing when the text is not such a date or the day is not in the month.
std::optional<CalendarDate> parse_date_text(std::string_view text);

// day-MON-yyyy, the month in capitals.
std::string format_date_text(const CalendarDate& date);

}  // namespace veslink
