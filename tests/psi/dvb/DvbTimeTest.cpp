#include "psi/dvb/DvbTime.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

struct MjdCase {
  std::array<uint8_t, 5> bytes;
  std::optional<int64_t> expected;  // seconds since 1970-01-01 UTC, none when the conversion fails
};

const MjdCase kMjdCases[] = {
    {{0xC0, 0x79, 0x12, 0x45, 0x00}, 750516300},   // 1993-10-13 12:45:00
    {{0xE8, 0xCB, 0x10, 0x00, 0x00}, 1642327200},  // 2022-01-16 10:00:00
    {{0xE8, 0xCB, 0x23, 0x59, 0x59}, 1642377599},  // last second of that day
    {{0x9F, 0xF8, 0x00, 0x00, 0x00}, 31536000},    // 1971-01-01, the first accepted day
    {{0x9F, 0xF7, 0x23, 0x59, 0x59}, std::nullopt},  // 1970-12-31
    {{0x00, 0x00, 0x00, 0x00, 0x00}, std::nullopt},  // 1858
    {{0xC0, 0x79, 0x24, 0x00, 0x00}, std::nullopt},  // hour 24
    {{0xC0, 0x79, 0x12, 0x60, 0x00}, std::nullopt},  // minute 60
    {{0xC0, 0x79, 0x12, 0x00, 0x60}, std::nullopt},  // second 60
    {{0xC0, 0x79, 0x1A, 0x00, 0x00}, (0xC079 - 40587) * 86400 + 20 * 3600},  // nibble A counts as 10
};

// Sets TZ for the scope of a test and restores it afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) m_old = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (m_old)
      setenv("TZ", m_old->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> m_old;
};

void ExpectMjdCases() {
  for (const MjdCase& c : kMjdCases) {
    int64_t time = -1;
    const bool ok = MjdUtcToTime(c.bytes.data(), time);
    EXPECT_EQ(ok, c.expected.has_value()) << std::hex << int(c.bytes[0]) << int(c.bytes[1]) << int(c.bytes[2]);
    if (c.expected && ok) EXPECT_EQ(time, *c.expected) << std::hex << int(c.bytes[0]) << int(c.bytes[1]);
    if (!c.expected) EXPECT_EQ(time, -1);
  }
}

}  // namespace

TEST(MjdUtcToTime, GivesUtcSecondsOrFails) { ExpectMjdCases(); }

// Broadcast times are UTC: the local time zone and its daylight saving rules must not shift them.
TEST(MjdUtcToTime, DoesNotDependOnTheLocalTimeZone) {
  for (const char* zone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "<+1345>-13:45"}) {
    SCOPED_TRACE(zone);
    ScopedTimeZone scoped(zone);
    ExpectMjdCases();
  }
}

TEST(MjdUtcToTime, AgreesWithTheCalendarEveryDay) {
  // Every day from 1971 to the end of the 16-bit MJD range; MJD 40587 is 1970-01-01.
  for (uint32_t mjd = 40952; mjd <= 0xFFFF; ++mjd) {
    const uint8_t bytes[5] = {uint8_t(mjd >> 8), uint8_t(mjd), 0x06, 0x30, 0x00};
    int64_t time = 0;
    ASSERT_TRUE(MjdUtcToTime(bytes, time)) << mjd;
    ASSERT_EQ(time, (int64_t(mjd) - 40587) * 86400 + 6 * 3600 + 30 * 60) << mjd;
  }
}

TEST(BcdDurationToSeconds, ConvertsBcdHoursMinutesSeconds) {
  const struct {
    std::array<uint8_t, 3> bytes;
    uint64_t seconds;
  } cases[] = {{{0x01, 0x45, 0x30}, 6330}, {{0x00, 0x00, 0x00}, 0}, {{0x99, 0x59, 0x59}, 359999}, {{0x00, 0x52, 0x00}, 3120}};
  for (const auto& c : cases) {
    uint64_t seconds = 1;
    EXPECT_TRUE(BcdDurationToSeconds(c.bytes.data(), seconds));
    EXPECT_EQ(seconds, c.seconds);
  }
  uint64_t untouched = 5;
  EXPECT_FALSE(BcdDurationToSeconds(nullptr, untouched));
  EXPECT_EQ(untouched, 5u);
}
