#include <gtest/gtest.h>

#include <vector>

#include "psi/text/AtscHuffman.h"
#include "psi/text/AtscHuffmanTables.h"
#include "psi/text/MultipleString.h"
#include "psi/text/Utf16Be.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct HuffmanCase {
  const char* name;
  int compressionType;
  Bytes bits;
  std::u16string expected;
};

std::u16string Huffman(int compressionType, const Bytes& bits) {
  if (compressionType == 1) return AtscHuffmanDecode(bits.data(), bits.size(), kAtscHuffmanTitleTable);
  return AtscHuffmanDecode(bits.data(), bits.size(), kAtscHuffmanDescriptionTable);
}

const Bytes kMythTitle = {0xA7, 0xA7, 0xF1, 0x54, 0xF1, 0x49, 0x3A, 0x81, 0x26, 0x8E, 0x48, 0x60};

}  // namespace

TEST(AtscHuffmanDecode, PublishedVectors) {
  const HuffmanCase cases[] = {
      {"title: two characters", 1, {0x5E, 0x00}, u"TV"},
      {"title: words", 1, {0xE9, 0x6C, 0xD2, 0x90, 0xB0, 0x29, 0x24, 0x00}, u"Lorem ipsum"},
      {"title: escaped m", 1, {0xE9, 0x6D, 0x78, 0xDA, 0x52, 0x16, 0x05, 0x24, 0x80}, u"Lorem ipsum"},
      {"title: escapes to T and !", 1, kMythTitle, u"MythTV is cool!"},
      {"description: three characters", 2, {0xD8, 0xE5, 0xD0}, u"TV."},
      {"description: words", 2, {0x9C, 0xEC, 0xFE, 0xA3, 0x33, 0x2F, 0xF5, 0x80}, u"Lorem ipsum."},
      {"description: escaped m", 2, {0x9C, 0xED, 0xCD, 0xB7, 0xD4, 0x66, 0x65, 0xFE, 0xB0}, u"Lorem ipsum."},
      {"description: escapes", 2, {0xFD, 0x3C, 0xA9, 0xD0, 0xB8, 0xA9, 0x15, 0x6A, 0x76, 0x8A, 0x48},
       u"MythTV is cool."},
  };
  for (const HuffmanCase& c : cases) EXPECT_EQ(Huffman(c.compressionType, c.bits), c.expected) << c.name;
}

TEST(AtscHuffmanDecode, BitsRunningOutGiveEmptyText) {
  EXPECT_EQ(AtscHuffmanDecode(kMythTitle.data(), 0, kAtscHuffmanTitleTable), u"");
  // The terminating character is in the last byte; every shorter prefix lacks it.
  for (size_t n = 1; n < kMythTitle.size(); ++n)
    EXPECT_EQ(AtscHuffmanDecode(kMythTitle.data(), n, kAtscHuffmanTitleTable), u"") << n;
}

TEST(Utf16BeToString, SwapsPairsAndIgnoresOddByte) {
  const uint8_t name[] = {0x00, 'K', 0x00, 'Y', 0x00, 'N', 0x00, 'M', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(Utf16BeToString(name, sizeof name), std::u16string(u"KYNM\0\0\0", 7));
  const uint8_t odd[] = {0x04, 0x10, 0x00};
  EXPECT_EQ(Utf16BeToString(odd, 3), u"А");
}

TEST(MssParse, SegmentsOfEachKind) {
  const Bytes mss = {
      2,                                   // number_strings
      'e', 'n', 'g', 4,                    // language, number_segments
      0x00, 0x00, 5, 'H', 'e', 'l', 'l', 'o',  // uncompressed 8-bit
      0x00, 0x3F, 4, 0x00, 0x41, 0x00, 0x42,   // UTF-16
      0x03, 0x00, 1, 0x55,                     // unknown compression: skipped
      0x01, 0x00, 2, 0x5E, 0x00,               // title Huffman
      's', 'p', 'a', 1,                        //
      0x00, 0x00, 1, 0x80,                     // the default 8-bit set is Windows-1252
  };
  const auto strings = MssParse(mss.data(), mss.size());
  ASSERT_EQ(strings.size(), 2u);
  EXPECT_EQ(strings[0].language_code, (std::array<uint8_t, 3>{'e', 'n', 'g'}));
  EXPECT_EQ(strings[0].segments, (std::vector<std::u16string>{u"Hello", u"AB", u"TV"}));
  EXPECT_EQ(strings[1].segments, std::vector<std::u16string>{u"€"});
  EXPECT_EQ(MssFirstText(mss.data(), mss.size()), u"Hello");
}

TEST(MssParse, EmptyOrSkippedFirstTextAndTruncation) {
  const Bytes none = {0};
  EXPECT_TRUE(MssParse(none.data(), none.size()).empty());
  EXPECT_EQ(MssFirstText(none.data(), none.size()), u"");
  const Bytes skipped = {1, 'e', 'n', 'g', 1, 0x03, 0x00, 2, 'A', 'B'};
  EXPECT_EQ(MssFirstText(skipped.data(), skipped.size()), u"");
  const Bytes otherMode = {1, 'e', 'n', 'g', 1, 0x00, 0x01, 2, 'A', 'B'};
  EXPECT_EQ(MssFirstText(otherMode.data(), otherMode.size()), u"");
  // The second string's segment reaches past the bytes: only the first string is kept.
  const Bytes truncated = {2, 'e', 'n', 'g', 1, 0x00, 0x00, 1, 'A', 'f', 'r', 'e', 1, 0x00, 0x00, 9, 'B'};
  const auto strings = MssParse(truncated.data(), truncated.size());
  ASSERT_EQ(strings.size(), 1u);
  EXPECT_EQ(strings[0].segments, std::vector<std::u16string>{u"A"});
  EXPECT_TRUE(MssParse(nullptr, 10).empty());
}

TEST(MssFirstText, DescriptionHuffmanSegment) {
  const Bytes mss = {1, 'e', 'n', 'g', 1, 0x02, 0x00, 3, 0xD8, 0xE5, 0xD0};
  EXPECT_EQ(MssFirstText(mss.data(), mss.size()), u"TV.");
}
