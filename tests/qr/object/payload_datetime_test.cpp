// Date-time values: the split into calendar fields and the pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "qr/object/payload.h"

namespace varnelo::qr {
namespace {

TEST(SplitDateTime, EverySecondOfADaySurvivesTheRoundTrip) {
  // A time of day stored as a fraction is rarely exact; truncating instead
  // of rounding would lose a second on many of these.
  for (DateTime day : {0.0, 45325.0, 2958465.0, -657434.0, -1.0}) {
    for (int second = 0; second < 86400; ++second) {
      const DateTime fraction = second / 86400.0;
      const DateTime value = day < 0 ? day - fraction : day + fraction;
      const auto parts = SplitDateTime(value);
      ASSERT_TRUE(parts) << value;
      ASSERT_EQ(parts->hour * 3600 + parts->minute * 60 + parts->second, second) << value;
    }
  }
}

TEST(SplitDateTime, CalendarDates) {
  const struct {
    DateTime value;
    int year, month, day, hour, minute, second, dayOfWeek;
  } cases[] = {
      {0.0, 1899, 12, 30, 0, 0, 0, 6},
      {2.0, 1900, 1, 1, 0, 0, 0, 1},
      {60.0, 1900, 2, 28, 0, 0, 0, 3},
      {61.0, 1900, 3, 1, 0, 0, 0, 4},
      {-1.25, 1899, 12, 29, 6, 0, 0, 5},
      {-0.5, 1899, 12, 30, 12, 0, 0, 6},
      {25569.0, 1970, 1, 1, 0, 0, 0, 4},
      {45351.0, 2024, 2, 29, 0, 0, 0, 4},
      {45325.0 + 50709.0 / 86400, 2024, 2, 3, 14, 5, 9, 6},
      {45325.9999999, 2024, 2, 4, 0, 0, 0, 0},  // rounds into the next day
      {-657434.0, 100, 1, 1, 0, 0, 0, 5},
      {2958465.0 + 86399.0 / 86400, 9999, 12, 31, 23, 59, 59, 5},
  };
  for (const auto& c : cases) {
    const auto parts = SplitDateTime(c.value);
    ASSERT_TRUE(parts) << c.value;
    EXPECT_EQ(parts->year, c.year) << c.value;
    EXPECT_EQ(parts->month, c.month) << c.value;
    EXPECT_EQ(parts->day, c.day) << c.value;
    EXPECT_EQ(parts->hour, c.hour) << c.value;
    EXPECT_EQ(parts->minute, c.minute) << c.value;
    EXPECT_EQ(parts->second, c.second) << c.value;
    EXPECT_EQ(parts->dayOfWeek, c.dayOfWeek) << c.value;
  }
}

TEST(SplitDateTime, RefusesValuesOutsideTheCalendar) {
  for (DateTime value :
       {-657435.0, 2958466.0, 2958465.9999999, 1e300, -1e300,
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(SplitDateTime(value)) << value;
    EXPECT_EQ(FormatDateTime(value, "yyyyMMdd"), "") << value;
  }
}

TEST(FormatDateTime, Pictures) {
  const DateTime morning = 45356.0 + (9 * 3600 + 7 * 60 + 3) / 86400.0;  // Tue 2024-03-05
  const DateTime evening = 45325.0 + (23 * 3600 + 45 * 60) / 86400.0;    // Sat 2024-02-03
  const DateTime early = -657434.5;                                      // 0100-01-01 noon
  const struct {
    DateTime value;
    const char* picture;
    const char* text;
  } cases[] = {
      {morning, "yyyyMMdd", "20240305"},
      {morning, "yyyy-MM-dd", "2024-03-05"},
      {morning, "yyyyMMdd'T'HHmmss", "20240305T090703"},
      {morning, "yyyyMMddTHHmmss", "20240305T090703"},
      {morning, "dddd, MMMM d, yyyy h:mm tt", "Tuesday, March 5, 2024 9:07 AM"},
      {morning, "ddd MMM yy y H:m:s t", "Tue Mar 24 24 9:7:3 A"},
      {evening, "hh:mm tt gg", "11:45 PM A.D."},
      {evening, "'Today is' d''s", "Today is 3'0"},
      {evening, "'it''s' h", "it's 11"},
      {evening, "'unclosed d", "unclosed d"},
      {early, "yyyy-MM-dd hh", "0100-01-01 12"},
      {early, "yy/y", "00/0"},
      {morning, "", ""},
      {morning, "x.[]", "x.[]"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.value, c.picture), c.text) << c.picture;
}

}  // namespace
}  // namespace varnelo::qr
