// Reading and writing the date texts of date fields.
#include "client/screen/date_text.h"

#include <cctype>

namespace veslink {

namespace {
constexpr const char* kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool separator(char c) {
  return c == ' ' || c == '-' || c == '/';
}

int days_in(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

std::optional<CalendarDate> parse_date_text(std::string_view text) {
  text = text.substr(0, 29);
  std::size_t i = 0;
  auto digits = [&](int max_count, int& value) {
    int count = 0;
    value = 0;
    while (i < text.size() && count < max_count && std::isdigit(static_cast<unsigned char>(text[i]))) {
      value = value * 10 + (text[i] - '0');
      ++i;
      ++count;
    }
    return count;
  };
  while (i < text.size() && text[i] == ' ')
    ++i;
  CalendarDate d;
  if (digits(2, d.day) == 0 || d.day < 1 || d.day > 31) return std::nullopt;
  while (i < text.size() && separator(text[i]))
    ++i;
  std::string letters;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
    letters += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
  if (letters.size() < 3) return std::nullopt;
  for (int m = 0; m < 12; ++m)
    if (letters.compare(0, 3, kMonths[m]) == 0) d.month = m + 1;
  if (d.month == 0) return std::nullopt;
  while (i < text.size() && separator(text[i]))
    ++i;
  int year = 0;
  digits(4, year);
  while (i < text.size() && text[i] == ' ')
    ++i;
  if (i != text.size()) return std::nullopt;
  if (year < 50) {
    year += 2000;
  } else if (year < 100) {
    year += 1900;
  } else if (year < 1900 || year > 2100) {
    return std::nullopt;
  }
  d.year = year;
  if (d.day > days_in(d.year, d.month)) return std::nullopt;
  return d;
}

std::string format_date_text(const CalendarDate& d) {
  if (d.month < 1 || d.month > 12) return {};
  return std::to_string(d.day) + "-" + kMonths[d.month - 1] + "-" + std::to_string(d.year);
}

}  // namespace veslink
