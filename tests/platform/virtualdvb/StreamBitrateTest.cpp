#include <gtest/gtest.h>

#include <vector>

#include "platform/virtualdvb/StreamBitrate.h"

namespace {
// `packets` packets of PID 0x100 after `junk` bytes; every tenth carries the
// PCR a stream of `bitrate` has at its position, offset by `pcrStart`.
std::vector<uint8_t> Stream(size_t packets, uint64_t bitrate, size_t junk = 0, uint64_t pcrStart = 0,
                            bool withPcr = true) {
  std::vector<uint8_t> s(junk, 0x55);
  for (size_t i = 0; i < packets; ++i) {
    uint8_t p[188] = {0x47, 0x01, 0x00, 0x10};
    if (withPcr && i % 10 == 0) {
      const uint64_t wrap = (uint64_t{1} << 33) * 300;
      const uint64_t pcr = (pcrStart + i * 188 * 8 * uint64_t{27000000} / bitrate) % wrap;
      const uint64_t base = pcr / 300, ext = pcr % 300;
      p[3] = 0x30;
      p[4] = 7;
      p[5] = 0x10;
      p[6] = uint8_t(base >> 25);
      p[7] = uint8_t(base >> 17);
      p[8] = uint8_t(base >> 9);
      p[9] = uint8_t(base >> 1);
      p[10] = uint8_t(((base & 1) << 7) | 0x7E | (ext >> 8));
      p[11] = uint8_t(ext);
    }
    s.insert(s.end(), p, p + 188);
  }
  return s;
}
}  // namespace

TEST(StreamBitrate, FromTheFirstAndLastClockReference) {
  struct Case {
    uint64_t bitrate;
    size_t junk;
    uint64_t pcrStart;
  };
  const Case cases[] = {
      {1'000'000, 0, 0},
      {12'000'000, 77, 0},                                   // starts inside a packet
      {38'000'000, 0, (uint64_t{1} << 33) * 300 - 1000000},  // the clock wraps
  };
  for (const Case& c : cases) {
    const auto stream = Stream(1001, c.bitrate, c.junk, c.pcrStart);
    const auto measured = PcrBitrate(stream);
    ASSERT_TRUE(measured) << c.bitrate;
    // PCRs are whole 27 MHz ticks: the measure is exact to a few bit/s.
    EXPECT_NEAR(double(*measured), double(c.bitrate), double(c.bitrate) * 1e-6) << c.bitrate;
  }
}

TEST(StreamBitrate, NothingWithoutTwoClockReferences) {
  EXPECT_FALSE(PcrBitrate(Stream(100, 1'000'000, 0, 0, false)));
  EXPECT_FALSE(PcrBitrate(Stream(5, 1'000'000)));  // one PCR
  EXPECT_FALSE(PcrBitrate(std::vector<uint8_t>(5000, 0x47 + 1)));
  EXPECT_FALSE(PcrBitrate({}));
}
