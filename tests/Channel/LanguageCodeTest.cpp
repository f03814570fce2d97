#include "Channel/LanguageCode.h"

#include <gtest/gtest.h>

TEST(LanguageText, OnlyThreePrintableAsciiBytesMakeALanguage) {
  struct Case {
    uint8_t code[3];
    std::u16string text;
  };
  const Case cases[] = {
      {{'d', 'e', 'u'}, u"deu"},
      {{'E', 'N', 'G'}, u"ENG"},
      {{0, 0, 0}, u""},
      {{'f', 'r', 0}, u""},
      {{'q', 'a', 'a'}, u"qaa"},
      {{0x1B, 'e', 'n'}, u""},
      {{'s', 'p', 0x7F}, u""},
      {{0xE9, 'n', 'g'}, u""},
      {{' ', ' ', ' '}, u"   "},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageText(c.code), c.text) << int(c.code[0]) << "," << int(c.code[2]);
}
