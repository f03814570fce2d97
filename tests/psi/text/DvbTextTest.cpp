#include "psi/text/DvbText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "psi/text/Charset.h"
#include "psi/text/Iso6937.h"

namespace {

struct TextCase {
  const char* name;
  std::vector<uint8_t> bytes;
  std::u16string expected;
};

std::u16string Decode(const std::vector<uint8_t>& bytes) { return DvbTextToString(bytes.data(), bytes.size()); }

}  // namespace

TEST(DvbTextToString, SelectsTheCharacterTable) {
  const TextCase cases[] = {
      {"ISO 8859-9 by selector 0x05", {0x05, 0x43, 0x61, 0x66, 0xE9}, u"Café"},
      {"ISO 6937 accent pair", {0x43, 0x61, 0x66, 0xC2, 0x65}, u"Café"},
      {"mapped character without accent falls back to 8859-15", {0x53, 0x74, 0x72, 0x61, 0xFB, 0x65}, u"Straûe"},
      {"UTF-8 by selector 0x15", {0x15, 0x43, 0x61, 0x66, 0xC3, 0xA9}, u"Café"},
      {"emphasis codes vanish, 0x8A breaks the line (6937)", {0x41, 0x86, 0x42, 0x87, 0x8A, 0x43}, u"AB\nC"},
      {"emphasis codes vanish, 0x8A breaks the line (8859)", {0x05, 0x41, 0x86, 0x42, 0x87, 0x8A, 0x43}, u"AB\nC"},
      {"only a selector byte", {0x05}, u""},
      {"accent as last byte falls back to 8859-15", {0x41, 0x42, 0xC2}, u"ABÂ"},
      {"undefined 6937 code falls back to 8859-15", {0x41, 0xA6}, u"AŠ"},
      {"6937 upper half used with an accent", {0xC2, 0x65, 0xA4, 0xD0}, u"é€—"},
      {"8859-5 through selector 0x10", {0x10, 0x00, 0x05, 0xB0}, u"А"},
      {"unknown 8859 part falls back to the default set", {0x10, 0x00, 0x0C, 0x41, 0x80}, u"A"},
      {"KS X 1001 keeps bytes 0x80..0x9F", {0x12, 0x81, 0x41}, u"\uAC02"},
      {"GB 2312", {0x13, 0xC4, 0xE3, 0xBA, 0xC3}, u"你好"},
      {"BMP two-byte units", {0x11, 0x00, 0x41, 0xE0, 0x8A, 0x04, 0x10, 0x00, 0x00, 0x00, 0x42}, u"A\nА"},
      {"Big5", {0x14, 0xA4, 0xA4}, u"中"},
      {"reserved selector decoded whole in the default set", {0x1F, 0x41, 0x80, 0xE9}, u"\x1F" u"Aé"},
      {"zero first byte", {0x00, 0x41}, u""},
      {"text ends at the first zero byte", {0x41, 0x00, 0x42}, u"A"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(Decode(c.bytes), c.expected) << c.name;
}

// Selectors 0x01..0x0B name ISO 8859-5..15: each row's byte decodes to a
// character no other of these sets gives it, so a wrong table shows.
TEST(DvbTextToString, EverySingleByteSelectorHasItsOwnTable) {
  const TextCase cases[] = {
      {"0x01 ISO 8859-5", {0x01, 0xA1}, u"\u0401"},  {"0x02 ISO 8859-6", {0x02, 0xAC}, u"\u060C"},
      {"0x03 ISO 8859-7", {0x03, 0xA1}, u"\u2018"},  {"0x04 ISO 8859-8", {0x04, 0xAA}, u"\u00D7"},
      {"0x05 ISO 8859-9", {0x05, 0xD0}, u"\u011E"},  {"0x06 ISO 8859-10", {0x06, 0xA1}, u"\u0104"},
      {"0x07 ISO 8859-11", {0x07, 0xA1}, u"\u0E01"}, {"0x08 reserved: the default set", {0x08, 0xA1}, u"\u00A1"},
      {"0x09 ISO 8859-13", {0x09, 0xA1}, u"\u201D"}, {"0x0A ISO 8859-14", {0x0A, 0xA1}, u"\u1E02"},
      {"0x0B ISO 8859-15", {0x0B, 0xA6}, u"\u0160"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(Decode(c.bytes), c.expected) << c.name;
}

TEST(DvbTextToString, NullOrEmptyGivesEmpty) {
  EXPECT_EQ(DvbTextToString(nullptr, 5), u"");
  const uint8_t byte = 0x41;
  EXPECT_EQ(DvbTextToString(&byte, 0), u"");
}

TEST(Iso6937ToString, PlausibilityRule) {
  const uint8_t ascii[] = "Plain text";
  EXPECT_EQ(Iso6937ToString(ascii), u"Plain text");
  const uint8_t empty[] = "";
  EXPECT_EQ(Iso6937ToString(empty), u"");
  const uint8_t mappedOnly[] = {0x41, 0xA4, 0};
  EXPECT_FALSE(Iso6937ToString(mappedOnly));
  const uint8_t unknownPair[] = {0xC2, 0x42, 0};  // B with acute does not exist
  EXPECT_FALSE(Iso6937ToString(unknownPair));
  const uint8_t controls[] = {0x41, 0x01, 0x0A, 0x7F, 0x42, 0};
  EXPECT_EQ(Iso6937ToString(controls), u"A\nB");
}

TEST(Iso6937ToString, AccentPairsMatchAnIndependentConverter) {
  // Base letters per accent byte; glibc's ISO_6937 converter supplies the expected characters.
  const std::pair<uint8_t, const char*> accents[] = {
      {0xC1, "AEIOUaeiou"},
      {0xC2, "ACEILNORSUYZaceilnorsuyz"},
      {0xC3, "ACEGHIJOSUWYaceghijosuwy"},
      {0xC4, "AINOUainou"},
      {0xC5, "AEIOUaeiou"},
      {0xC6, "AGUagu"},
      {0xC7, "CEGIZcegz"},
      {0xC8, "AEIOUYaeiouy"},
      {0xCA, "AUau"},
      {0xCB, "CGKLNRSTcgklnrst"},
      {0xCD, "OUou"},
      {0xCE, "AEIUaeiu"},
      {0xCF, "CDELNRSTZcdelnrstz"},
  };
  size_t pairs = 0;
  for (const auto& [accent, letters] : accents) {
    for (const char* l = letters; *l; ++l, ++pairs) {
      const uint8_t text[] = {accent, static_cast<uint8_t>(*l), 0};
      const auto expected = DecodeCharset("ISO_6937", text, 2);
      ASSERT_TRUE(expected);
      ASSERT_EQ(expected->size(), 1u);
      EXPECT_EQ(Iso6937ToString(text), *expected) << std::hex << int{accent} << " " << *l;
    }
  }
  EXPECT_EQ(pairs, 155u);
  const uint8_t dotI[] = {0xC7, 'I', 0};
  EXPECT_EQ(Iso6937ToString(dotI), u"\u0130");
}

TEST(DecodeCharset, UnknownSetAndInvalidBytes) {
  const uint8_t bytes[] = {0x41, 0xFF, 0x42};
  EXPECT_FALSE(DecodeCharset("NO-SUCH-SET", bytes, 3));
  EXPECT_EQ(DecodeCharset("UTF-8", bytes, 3), u"A\uFFFDB");
  EXPECT_EQ(DecodeWithFallback("NO-SUCH-SET", bytes, 3), u"AÿB");
}
