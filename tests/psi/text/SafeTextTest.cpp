// What broadcast text may carry into each output.
#include "psi/text/SafeText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "platform/com/Utf.h"

namespace {

TEST(SafeTextTest, EachUseKeepsWhatItMay) {
  struct Case {
    const char* name;
    std::u16string text;
    std::string line;
    std::string paragraph;
    std::u16string json;  // before JSON's own escaping
  };
  const Case cases[] = {
      {"plain", u"France \u00D4", "France \xC3\x94", "France \xC3\x94", u"France \u00D4"},
      {"terminal escape", u"Rai\x1B]0;owned\x07 1", "Rai]0;owned 1", "Rai]0;owned 1", u"Rai\x1B]0;owned\x07 1"},
      {"C1 control sequence", u"a\u009B31mb\u0085c", "a31mbc", "a31mbc", u"a\u009B31mb\u0085c"},
      {"DEL", u"a\x7F" u"b", "ab", "ab", u"a\x7F" u"b"},
      {"non-characters", u"a\uFFFEb\uFFFFc\uFDD0d\U0001FFFEe", "abcde", "abcde", u"a\uFFFEb\uFFFFc\uFDD0d\U0001FFFEe"},
      {"line breaks", u"one\ntwo\r\nthree", "one two three", "one\ntwo\nthree", u"one\ntwo\r\nthree"},
      {"tab", u"a\tb", "a b", "a b", u"a\tb"},
      {"DVB line break and emphasis", u"\uE086big\uE087\uE08Anext", "big next", "big\nnext", u"big\nnext"},
      {"lone surrogate", u"a\xD800" u"b", "a\xEF\xBF\xBD" "b", "a\xEF\xBF\xBD" "b", u"a\uFFFD" u"b"},
      {"characters beyond the BMP", u"\U0001F4FA", "\xF0\x9F\x93\xBA", "\xF0\x9F\x93\xBA", u"\U0001F4FA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SafeUtf8(c.text, TextUse::Line), c.line);
    EXPECT_EQ(SafeUtf8(c.text, TextUse::Paragraph), c.paragraph);
    EXPECT_EQ(SafeUtf8(c.text, TextUse::Json), Utf16ToUtf8(c.json));
  }
}

TEST(SafeTextTest, LanguageBytesAreLatin1) {
  EXPECT_EQ(SafeUtf8(std::string_view("eng"), TextUse::Line), "eng");
  EXPECT_EQ(SafeUtf8(std::string_view("e\x1Bg"), TextUse::Line), "eg");
  EXPECT_EQ(SafeUtf8(std::string_view("\xE9t\x9B"), TextUse::Line), "\xC3\xA9t");
}

TEST(SafeTextTest, JsonEscapesWhatItsWriterLeavesRaw) {
  const std::u16string hostile = u"a\x1B[2Jb\u009Bc\x7F\uFFFEd\U0010FFFFe\u00D4\n";
  const nlohmann::ordered_json document = {{"name", SafeUtf8(hostile, TextUse::Json)}, {"n", 1}};
  const std::string text = EscapeUnsafeJson(document.dump(2));
  for (const char* escape : {"\\u001b", "\\u009b", "\\u007f", "\\ufffe", "\\udbff\\udfff", "\\n"})
    EXPECT_NE(text.find(escape), std::string::npos) << escape << " in " << text;
  for (unsigned char c : text) EXPECT_TRUE(c >= 0x20 || c == '\n') << int(c);
  // Layout stays, and the exact text comes back.
  EXPECT_EQ(text.find("{\n  \"name\""), 0u) << text;
  EXPECT_EQ(nlohmann::json::parse(text)["name"].get<std::string>(), SafeUtf8(hostile, TextUse::Json));
}

}  // namespace
