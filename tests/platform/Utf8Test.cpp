#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Utf8Test, EncodesUtf16) {
  struct Case {
    std::u16string in;
    size_t maxBytes;
    std::string out;
  } cases[] = {
      {u"Az", std::string::npos, "Az"},
      {u"\u00e9\u20ac", std::string::npos, "\xC3\xA9\xE2\x82\xAC"},
      {u"\xD83D\xDE00", std::string::npos, "\xF0\x9F\x98\x80"},  // a surrogate pair
      {u"a\xD800z", std::string::npos, "a\xEF\xBF\xBDz"},        // unpaired: U+FFFD
      {u"\xDC00", std::string::npos, "\xEF\xBF\xBD"},
      {u"a\u20ac", 3, "a"},  // the euro sign does not fit whole
      {u"abc", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.in, c.maxBytes), c.out);
  }
}

}  // namespace
}  // namespace qv
