// Date-time values: splitting the day count into calendar fields and writing
// them through a picture.
#include <array>
#include <cmath>

#include "qr/object/payload.h"

namespace varnelo::qr {

namespace {

// Day numbers of 0100-01-01 and 9999-12-31 counted from 1899-12-30.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};

struct CivilDate {
  int year, month, day;
};

// Proleptic Gregorian date of a day counted from 1970-01-01.
CivilDate CivilFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

void AppendNumber(std::string& out, int value, int minDigits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < minDigits)
    out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
  out += digits;
}

// Writes one run of count equal picture letters; false when the letter is no
// picture.
bool AppendPicture(std::string& out, char letter, int count, const DateTimeParts& t) {
  const int padding = count >= 2 ? 2 : 1;
  switch (letter) {
    case 'd':
      if (count <= 2)
        AppendNumber(out, t.day, padding);
      else
        out += count == 3 ? kDayNames[t.dayOfWeek].substr(0, 3) : kDayNames[t.dayOfWeek];
      return true;
    case 'M':
      if (count <= 2)
        AppendNumber(out, t.month, padding);
      else
        out += count == 3 ? kMonthNames[t.month - 1].substr(0, 3) : kMonthNames[t.month - 1];
      return true;
    case 'y':
      if (count <= 2)
        AppendNumber(out, t.year % 100, padding);
      else
        AppendNumber(out, t.year, 4);
      return true;
    case 'g':
      out += "A.D.";
      return true;
    case 'h':
      AppendNumber(out, t.hour % 12 == 0 ? 12 : t.hour % 12, padding);
      return true;
    case 'H':
      AppendNumber(out, t.hour, padding);
      return true;
    case 'm':
      AppendNumber(out, t.minute, padding);
      return true;
    case 's':
      AppendNumber(out, t.second, padding);
      return true;
    case 't':
      out += t.hour < 12 ? (count == 1 ? "A" : "AM") : (count == 1 ? "P" : "PM");
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<DateTimeParts> SplitDateTime(DateTime value) {
  if (!std::isfinite(value) || value <= kFirstDay - 1.0 || value >= kLastDay + 1.0)
    return std::nullopt;
  const double whole = std::trunc(value);
  long long day = static_cast<long long>(whole);
  // The time of day is the fraction's magnitude on either side of day 0.
  // Rounding to the second undoes the binary fraction: 14:05:09 is stored as
  // a value a hair below or above the exact second.
  long long seconds = std::llround(std::fabs(value - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  if (day > static_cast<long long>(kLastDay)) return std::nullopt;
  const long long unixDay = day + kEpochOffset;
  const CivilDate date = CivilFromDays(unixDay);
  DateTimeParts parts;
  parts.year = date.year;
  parts.month = date.month;
  parts.day = date.day;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  // 1970-01-01 was a Thursday.
  parts.dayOfWeek = static_cast<int>(((unixDay + 4) % 7 + 7) % 7);
  return parts;
}

TextBytes FormatDateTime(DateTime value, std::string_view picture) {
  const std::optional<DateTimeParts> parts = SplitDateTime(value);
  if (!parts) return {};
  // Date and time pictures are expanded in one pass, so a name written by
  // one picture (the "h" of "March") is never read as another.
  TextBytes out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      ++i;
      if (i < picture.size() && picture[i] == '\'') {  // '' outside quotes
        out += '\'';
        ++i;
        continue;
      }
      while (i < picture.size()) {
        if (picture[i] != '\'') {
          out += picture[i++];
        } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
          out += '\'';
          i += 2;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (AppendPicture(out, c, static_cast<int>(run), *parts)) {
      i += run;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace varnelo::qr
