#include <gtest/gtest.h>

#include "platform/bda/TunerSettings.h"

TEST(TunerSettings, DiseqcInputFromTheRangeBits) {
  const std::pair<ULONG, int> cases[] = {{0, 0}, {1, 1}, {256, 2}, {257, 3}};
  for (const auto& [range, input] : cases) EXPECT_EQ(DiseqcInput(range), input) << range;
}

TEST(TunerSettings, IntermediateFrequencyAndBandFromTheLnb) {
  struct Case {
    ULONG transponder;
    LnbOscillators lnb;
    IntermediateFrequency expected;
  };
  const Case cases[] = {
      // Universal LNB given, and the same by default.
      {11493750, {9750000, 10600000, 11700000}, {1743750, false}},
      {12603000, {9750000, 10600000, 11700000}, {2003000, true}},
      {11700000, {}, {1100000, true}},
      {11699999, {}, {1949999, false}},
      // Single-oscillator LNB: one band.
      {12603000, {10750000, 0, 0}, {1853000, false}},
      // C band: the oscillator above the transponders.
      {3900000, {5150000, 0, 0}, {1250000, false}},
  };
  for (const Case& c : cases) {
    const IntermediateFrequency got = ToIntermediateFrequency(c.transponder, c.lnb);
    EXPECT_EQ(got.khz, c.expected.khz) << c.transponder;
    EXPECT_EQ(got.highBand, c.expected.highBand) << c.transponder;
  }
}

TEST(TunerSettings, AtscChannelCentres) {
  const std::pair<LONG, ULONG> cases[] = {{2, 57000}, {4, 69000}, {5, 79000}, {6, 85000}, {7, 177000},
                                          {13, 213000}, {14, 473000}, {69, 803000}, {1, 0}, {70, 0}};
  for (const auto& [channel, centre] : cases) EXPECT_EQ(AtscChannelCentreKHz(channel), centre) << channel;
}
