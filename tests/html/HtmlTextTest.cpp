#include "html/HtmlText.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(HtmlTextTest, EscapesForEachPlace) {
  EXPECT_EQ(EscapeHtmlText("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c'");
  EXPECT_EQ(EscapeHtmlAttribute("a\"b'c&"), "a&quot;b&#39;c&amp;");
  EXPECT_EQ(EscapeHtmlText(std::string("x\0y\x01z\tw", 8)), "xyz\tw");
  EXPECT_EQ(EscapeJsString("a\\\"b'</script>\n"), "a\\\\\\\"b\\'\\x3C/script\\x3E\\n");
  EXPECT_EQ(EscapeJsString("\xE2\x80\xA8"), "\\u2028");
  EXPECT_EQ(CssFontFamily("Arial;}</style><b>"), "Arial/styleb");
  EXPECT_EQ(CssFontFamily("Times New Roman"), "Times New Roman");
}

TEST(HtmlTextTest, Utf16ToUtf8) {
  EXPECT_EQ(Utf16ToUtf8(u"Caf\u00e9", 15), "Caf\xC3\xA9");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600", 15), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)), 15), "\xEF\xBF\xBD");
  // The byte bound cuts between whole characters only.
  EXPECT_EQ(Utf16ToUtf8(u"\u20ac\u20ac\u20ac\u20ac\u20ac\u20ac", 15),
            "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC");
  EXPECT_EQ(Utf16ToUtf8(u"abcdefghijklmnopq", 15), "abcdefghijklmno");
}

TEST(HtmlTextTest, InvalidUtf8IsReadAsLatin1) {
  EXPECT_EQ(ToValidUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(ToValidUtf8("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(ToValidUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");  // overlong form
  EXPECT_EQ(ToValidUtf8("\xE2\x82"), "\xC3\xA2\xC2\x82");  // truncated sequence
}

TEST(HtmlTextTest, RefusesScriptAndDataSchemes) {
  struct Case {
    const char* target;
    bool safe;
  };
  const Case cases[] = {
      {"http://example.com/", true},
      {"pg_0003.htm", true},
      {"mailto:a@b.c", true},
      {"actionGoToR:other.pdf", true},
      {"", true},
      {"javascript:alert(1)", false},
      {"JavaScript:alert(1)", false},
      {" \tjava\nscript:alert(1)", false},
      {"vbscript:msgbox", false},
      {"DATA:text/html,<b>", false},
      {"file.pdf#javascript:x", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSafeLinkTarget(c.target), c.safe) << c.target;
  }
}

TEST(HtmlTextTest, Colours) {
  EXPECT_EQ(HexColorUpper(16711731), "3300FF");
  EXPECT_EQ(HexColorLower(0x00ABCDEF), "efcdab");
}

}  // namespace
}  // namespace qv
