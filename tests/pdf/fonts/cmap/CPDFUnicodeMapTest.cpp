#include "pdf/fonts/cmap/CPDFUnicodeMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CMapTestWorld.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CharMapLookup.h"

namespace qv {
namespace {

std::vector<uint8_t> encoded(const CPDFUnicodeMap& map, char16_t unicode, int capacity = 32) {
  uint8_t bytes[32] = {};
  int n = map.map(unicode, bytes, capacity);
  return std::vector<uint8_t>(bytes, bytes + n);
}

std::vector<uint8_t> bytesOf(const char* text) {
  return std::vector<uint8_t>(text, text + std::char_traits<char>::length(text));
}

TEST(CPDFUnicodeMapTest, ResidentEncodings) {
  struct Case {
    const char* encoding;
    char16_t unicode;
    int capacity;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {"Latin1", 0x41, 8, bytesOf("A")},
      {"Latin1", 0xAD, 8, {}},  // soft hyphen
      {"Latin1", 0x2013, 8, {0xAD}},
      {"Latin1", 0x0100, 8, {}},
      {"Latin1", 0x00E9, 8, {0xE9}},
      {"Latin1", 0x0152, 8, bytesOf("OE")},
      {"Latin1", 0x2026, 8, bytesOf("...")},
      {"Latin1", 0x2026, 2, {}},
      {"Latin1", 0xFB04, 8, bytesOf("ffl")},
      {"Latin1", 0x0009, 8, {}},
      {"Latin1", 0xFFFF, 8, {}},
      {"UTF-8", 0x41, 8, {0x41}},
      {"UTF-8", 0xE9, 8, {0xC3, 0xA9}},
      {"UTF-8", 0x20AC, 8, {0xE2, 0x82, 0xAC}},
      {"UTF-8", 0x20AC, 2, {}},
      {"UTF-8", 0xFFFF, 3, {0xEF, 0xBF, 0xBF}},
      {"ASCII7", 0x00C9, 8, bytesOf("E")},
      {"ASCII7", 0x00E7, 8, bytesOf("c")},
      {"ASCII7", 0x00C6, 8, bytesOf("AE")},
      {"ASCII7", 0x00E6, 8, bytesOf("ae")},
      {"ASCII7", 0x00D7, 8, bytesOf("x")},
      {"ASCII7", 0x00F7, 8, bytesOf("/")},
      {"ASCII7", 0x00A9, 8, bytesOf("(c)")},
      {"ASCII7", 0x00BD, 8, bytesOf("1/2")},
      {"ASCII7", 0x0060, 8, {}},
      {"ASCII7", 0x0153, 8, bytesOf("oe")},
      {"ASCII7", 0x2014, 8, bytesOf("--")},
      {"ASCII7", 0x201C, 8, bytesOf("\"")},
      {"ASCII7", 0x2122, 8, bytesOf("TM")},
      {"Symbol", 0x03B1, 8, {0x61}},  // alpha
      {"Symbol", 0x2200, 8, {0x22}},  // universal
      {"Symbol", 0x2212, 8, {0x2D}},  // minus
      {"Symbol", 0xF8F4, 8, {0xEF}},  // braceex
      {"Symbol", 0x0041, 8, {}},
      {"ZapfDingbats", 0x0020, 8, {0x20}},
      {"ZapfDingbats", 0x2701, 8, {0x21}},
      {"ZapfDingbats", 0x260E, 8, {0x25}},
      {"ZapfDingbats", 0x2192, 8, {0xD5}},
      {"ZapfDingbats", 0x2460, 8, {0xAC}},
      {"ZapfDingbats", 0x27BE, 8, {0xFE}},
      {"ZapfDingbats", 0x0041, 8, {}},
  };
  for (const Case& c : cases) {
    RefPtr<CPDFUnicodeMap> map = CPDFUnicodeMap::resident(c.encoding);
    ASSERT_TRUE(map) << c.encoding;
    EXPECT_EQ(map->encodingName(), c.encoding);
    EXPECT_EQ(encoded(*map, c.unicode, c.capacity), c.expected)
        << c.encoding << " U+" << std::hex << int(c.unicode);
  }
  EXPECT_FALSE(CPDFUnicodeMap::resident("Latin2"));
}

TEST(CPDFUnicodeMapTest, UnicodeMapFiles) {
  test::CMapTestWorld world;
  ErrorLog log;
  RefPtr<CPDFUnicodeMap> map = getUnicodeMap(world.config(), "Test");
  ASSERT_TRUE(map);
  EXPECT_EQ(encoded(*map, 0x41), bytesOf("A"));
  EXPECT_EQ(encoded(*map, 0xE9), std::vector<uint8_t>{0xE9});
  EXPECT_EQ(encoded(*map, 0x0152), std::vector<uint8_t>{0x8C});
  EXPECT_EQ(encoded(*map, 0x20AC), std::vector<uint8_t>{0x80});
  EXPECT_EQ(encoded(*map, 0x2122), (std::vector<uint8_t>{0xE2, 0x84, 0xA2, 0xE2, 0x84, 0xA2}));
  EXPECT_EQ(encoded(*map, 0x2122, 5), std::vector<uint8_t>{});
  EXPECT_EQ(encoded(*map, 0x2026), std::vector<uint8_t>{});
  EXPECT_EQ(encoded(*map, 0x10), std::vector<uint8_t>{});
  EXPECT_EQ(log.count("Bad line (6) in unicodeMap file for the 'Test' encoding"), 1u);
  EXPECT_EQ(getUnicodeMap(world.config(), "Test"), map);

  EXPECT_FALSE(getUnicodeMap(world.config(), "Nothing"));
  EXPECT_EQ(log.count("Couldn't find unicodeMap file for the 'Nothing' encoding"), 1u);

  RefPtr<CPDFUnicodeMap> parsed = CPDFUnicodeMap::parse(
      "P", "41\n0041 0042 00430044004500\n0041 4142434445464748494A\nzz 41\n");
  EXPECT_EQ(log.count("Bad line (1) in unicodeMap file for the 'P' encoding"), 1u);
  EXPECT_EQ(log.count("Bad line (2) in unicodeMap file for the 'P' encoding"), 1u);
  EXPECT_EQ(log.count("Bad line (4) in unicodeMap file for the 'P' encoding"), 1u);
  EXPECT_EQ(encoded(*parsed, 0x41), bytesOf("ABCDEFGHIJ"));
}

}  // namespace
}  // namespace qv
