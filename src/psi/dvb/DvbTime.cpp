#include "psi/dvb/DvbTime.h"

#include <cmath>

namespace {

int Bcd(uint8_t value) { return (value >> 4) * 10 + (value & 0x0F); }

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

bool MjdUtcToTime(const uint8_t* bytes, int64_t& time) {
  if (!bytes) return false;
  const double mjd = (bytes[0] << 8) | bytes[1];
  const double yp = std::floor((mjd - 15078.2) / 365.25);
  const double mp = std::floor((mjd - 14956.1 - std::floor(yp * 365.25)) / 30.6001);
  const int day = static_cast<uint8_t>(static_cast<int>(mjd - 14956 - std::floor(yp * 365.25) - std::floor(mp * 30.6001)));
  const int k = (mp == 14 || mp == 15) ? 1 : 0;
  const int year = static_cast<int>(yp) + k + 1900;
  const int month = static_cast<int>(mp) - 1 - 12 * k;
  const int hour = Bcd(bytes[2]);
  const int minute = Bcd(bytes[3]);
  const int second = Bcd(bytes[4]);
  if (year < 1971 || year > 3000 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  time = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return true;
}

bool BcdDurationToSeconds(const uint8_t* bytes, uint64_t& seconds) {
  if (!bytes) return false;
  seconds = (uint64_t(Bcd(bytes[0])) * 60 + Bcd(bytes[1])) * 60 + Bcd(bytes[2]);
  return true;
}
