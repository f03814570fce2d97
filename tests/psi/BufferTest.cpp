#include "psi/ts/BufferT.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

TEST(BufferT, GrowsInStepsAndKeepsContent) {
  CBufferT<16> buffer;
  EXPECT_EQ(buffer.Capacity(), 16u);
  std::vector<uint8_t> bytes(40);
  std::iota(bytes.begin(), bytes.end(), 0);
  buffer.Append(bytes.data(), 10);
  EXPECT_EQ(buffer.Capacity(), 16u);
  buffer.Append(bytes.data() + 10, 30);  // 40 needed: rounded down to 32, plus 16
  EXPECT_EQ(buffer.Capacity(), 48u);
  ASSERT_EQ(buffer.Length(), 40u);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buffer.Data()));
  buffer.Append(bytes.data(), 8);  // exactly full: no growth
  EXPECT_EQ(buffer.Capacity(), 48u);
  buffer.Append(nullptr, 0);
  EXPECT_EQ(buffer.Length(), 48u);
}

TEST(BufferT, ConsumeRemovesFromTheFront) {
  CBufferT<16> buffer;
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(buffer.Consume(3), 0u);
  buffer.Append(bytes, 5);
  EXPECT_EQ(buffer.Consume(0), 0u);
  EXPECT_EQ(buffer.Consume(2), 2u);
  ASSERT_EQ(buffer.Length(), 3u);
  EXPECT_EQ(buffer.Data()[0], 3);
  EXPECT_EQ(buffer.Consume(10), 3u);
  EXPECT_EQ(buffer.Length(), 0u);
}

TEST(BufferT, ResetShrinksToOneStep) {
  CBufferT<16> buffer;
  std::vector<uint8_t> bytes(100, 7);
  buffer.Append(bytes.data(), 100);
  buffer.Reset();
  EXPECT_EQ(buffer.Length(), 0u);
  EXPECT_EQ(buffer.Capacity(), 16u);
}
