#include "platform/com/Date.h"

namespace {
// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}
constexpr long kDaysFrom1899To1970 = 25569;
}  // namespace

DATE CalendarToDate(int year, int month, int day, int hour, int minute, int second) {
  const long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDaysFrom1899To1970;
  return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DATE UtcSecondsToLocalDate(time_t utcSeconds) {
  std::tm local{};
  localtime_r(&utcSeconds, &local);
  return CalendarToDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
}
