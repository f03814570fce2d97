#include "psi/ts/Crc32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Crc32Mpeg2, CheckValueOfDigits) {
  const std::string digits = "123456789";
  EXPECT_EQ(Crc32Mpeg2(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0x0376E6E7u);
}

TEST(Crc32Mpeg2, PatSectionCarriesKnownCrcAndLeavesZeroRemainder) {
  std::vector<uint8_t> pat = {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x01, 0xE1, 0x00};
  EXPECT_EQ(Crc32Mpeg2(pat.data(), pat.size()), 0xE8F95E7Du);
  pat.insert(pat.end(), {0xE8, 0xF9, 0x5E, 0x7D});
  EXPECT_EQ(Crc32Mpeg2(pat.data(), pat.size()), 0u);
}

TEST(Crc32Mpeg2, AnyFlippedBitLeavesNonZeroRemainder) {
  std::vector<uint8_t> pat = {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00,
                              0x00, 0x01, 0xE1, 0x00, 0xE8, 0xF9, 0x5E, 0x7D};
  for (size_t i = 0; i < pat.size() * 8; ++i) {
    std::vector<uint8_t> damaged = pat;
    damaged[i / 8] ^= static_cast<uint8_t>(0x80 >> (i % 8));
    EXPECT_NE(Crc32Mpeg2(damaged.data(), damaged.size()), 0u) << "bit " << i;
  }
}

TEST(Crc32Mpeg2, ContinuesAcrossPieces) {
  const std::string digits = "123456789";
  const auto* p = reinterpret_cast<const uint8_t*>(digits.data());
  EXPECT_EQ(Crc32Mpeg2(p + 4, 5, Crc32Mpeg2(p, 4)), 0x0376E6E7u);
}
