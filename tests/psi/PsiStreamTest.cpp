#include "psi/ts/PsiStream.h"

#include <gtest/gtest.h>

TEST(PsiStream, ReadsBigEndianFieldsInOrder) {
  const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x11, 0x22, 0x33};
  CPsiStream s(bytes, sizeof bytes);
  EXPECT_EQ(s.ReadUInt8(), 0x12);
  EXPECT_EQ(s.ReadUInt16(), 0x3456);
  EXPECT_EQ(s.ReadUInt32(), 0x789ABCDEu);
  s.Skip(1);
  EXPECT_EQ(s.ReadVector(2), (std::vector<uint8_t>{0x11, 0x22}));
  uint8_t last = 0;
  s.Read(&last, 1);
  EXPECT_EQ(last, 0x33);
  EXPECT_EQ(s.Remaining(), 0u);
}

TEST(PsiStream, EveryReadPastTheEndThrowsAndKeepsPosition) {
  const uint8_t bytes[] = {1, 2, 3};
  CPsiStream s(bytes, sizeof bytes);
  s.Skip(2);
  EXPECT_THROW(s.ReadUInt16(), CPsiStreamException);
  EXPECT_THROW(s.ReadUInt32(), CPsiStreamException);
  EXPECT_THROW(s.Skip(2), CPsiStreamException);
  EXPECT_THROW(s.ReadVector(2), CPsiStreamException);
  uint8_t buffer[4];
  EXPECT_THROW(s.Read(buffer, 2), CPsiStreamException);
  EXPECT_EQ(s.Position(), 2u);
  EXPECT_EQ(s.ReadUInt8(), 3);
  EXPECT_THROW(s.ReadUInt8(), CPsiStreamException);
}

TEST(PsiStream, NullBufferOrZeroCountReadsNothing) {
  const uint8_t bytes[] = {1};
  CPsiStream s(bytes, sizeof bytes);
  s.Read(nullptr, 5);
  uint8_t b = 0;
  s.Read(&b, 0);
  EXPECT_EQ(s.Position(), 0u);
  CPsiStream empty(nullptr, 10);
  EXPECT_EQ(empty.Remaining(), 0u);
  EXPECT_THROW(empty.ReadUInt8(), CPsiStreamException);
}

TEST(PsiStream, SubReaderIsBoundedToItsBytesAndSkipsThem) {
  const uint8_t bytes[] = {1, 2, 3, 4};
  CPsiStream s(bytes, sizeof bytes);
  CPsiStream sub = s.ReadSub(2);
  EXPECT_EQ(sub.ReadUInt16(), 0x0102);
  EXPECT_THROW(sub.ReadUInt8(), CPsiStreamException);
  EXPECT_EQ(s.ReadUInt16(), 0x0304);
  EXPECT_THROW(s.ReadSub(1), CPsiStreamException);
}
