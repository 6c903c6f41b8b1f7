#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/CPDFNameToCharCode.h"
#include "pdf/config/GlyphNames.h"
#include "pdf/config/MacRomanEncoding.h"
#include "pdf/core/ErrorReport.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

CPDFConfigLocations scratchLocations(const fs::path& dir) {
  return {dir, dir / "bin", dir / "tmp", dir / "home"};
}

TEST(GlyphNameTest, BuiltInTableIsSortedWithUniqueNames) {
  auto names = builtInGlyphNames();
  ASSERT_GT(names.size(), 4000u);
  for (size_t i = 1; i < names.size(); ++i) {
    ASSERT_LT(std::strcmp(names[i - 1].name, names[i].name), 0) << names[i].name;
  }
}

TEST(GlyphNameTest, NamesMapThroughTheBuiltInTable) {
  test::ScratchDir dir;
  CPDFConfig config("", scratchLocations(dir.path()));
  struct Case {
    const char* name;
    char16_t unicode;
  };
  const Case cases[] = {
      {"A", 0x41},
      {"AE", 0xC6},
      {"fi", 0xFB01},
      {"endash", 0x2013},
      {"quotedblleft", 0x201C},
      {"Euro", 0x20AC},
      {"minus", 0x2212},
      {"Omega", 0x2126},
      {"afii10017", 0x410},
      // Expert-set names read as the plain characters.
      {"Asmall", 0x41},
      {"AEsmall", 0xC6},
      {"Aacutesmall", 0xC1},
      {"zerooldstyle", 0x30},
      {"dollaroldstyle", 0x24},
      {"zerosuperior", 0x2070},
      {"zeroinferior", 0x2080},
      {"Gravesmall", 0x60},
      {"asuperior", 0x61},
      // Symbol font pieces keep their private-use values; dingbats come from their own list.
      {"braceex", 0xF8F4},
      {"a1", 0x2701},
      // Not in any table: the Adobe Glyph List naming rules.
      {"uni20AC", 0x20AC},
      {"uni00410042", 0x41},
      {"uni0041.sc", 0x41},
      {"u1F600", 0},
      {"u20AC", 0x20AC},
      {"u0020AC", 0x20AC},
      {"uniD800", 0},
      {"uni20ac", 0},
      {"uni20A", 0},
      {"u12", 0},
      {"g3A", 0},
      {"", 0},
      {"nosuchglyph", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(config.mapNameToUnicode(c.name), c.unicode) << c.name;
  }
}

TEST(GlyphNameTest, MacRomanReverseMapHoldsTheNamedCodes) {
  const auto& names = macRomanEncodingNames();
  int named = 0;
  for (const char* name : names) {
    named += name != nullptr;
  }
  EXPECT_EQ(named, 208);
  test::ScratchDir dir;
  CPDFConfig config("", scratchLocations(dir.path()));
  EXPECT_EQ(config.mapNameToMacRoman("Adieresis"), 0x80);
  EXPECT_EQ(config.mapNameToMacRoman("space"), 0x20);
  EXPECT_EQ(config.mapNameToMacRoman("caron"), 0xFF);
  EXPECT_EQ(config.mapNameToMacRoman("apple"), std::nullopt);
}

TEST(GlyphNameTest, NameToUnicodeFilesAddAndOverride) {
  test::ScratchDir dir;
  fs::create_directories(dir / "bin");
  test::writeFile(dir / "names1.txt", "20AC Euro2\n0041 B\nbogus\n1F600 smile\n");
  test::writeFile(dir / "names2.txt", "0043\tB\r\n");
  test::writeFile(dir / "config.lst",
                  "nameToUnicode names1.txt\nnameToUnicode names2.txt\nnameToUnicode none.txt\n");
  ErrorLog log;
  CPDFConfig config("config.lst", scratchLocations(dir.path()));
  EXPECT_EQ(config.mapNameToUnicode("Euro2"), 0x20AC);
  EXPECT_EQ(config.mapNameToUnicode("B"), 0x43);        // the later file wins
  EXPECT_EQ(config.mapNameToUnicode("smile"), 0xF600);  // cut to 16 bits
  EXPECT_EQ(config.mapNameToUnicode("Euro"), 0x20AC);
  EXPECT_EQ(log.count("Bad line in 'nameToUnicode' file (" + (dir / "names1.txt").string() + ":3)"),
            1u);
  EXPECT_EQ(log.count("Couldn't open 'nameToUnicode' file 'none.txt'"), 1u);
}

TEST(CPDFNameToCharCodeTest, GrowsAndReplaces) {
  CPDFNameToCharCode table;
  EXPECT_EQ(table.capacity(), 31u);
  for (int i = 0; i < 14; ++i) {
    table.add("n" + std::to_string(i), i);
  }
  EXPECT_EQ(table.capacity(), 31u);
  table.add("n14", 14);  // the 15th name reaches half the capacity
  EXPECT_EQ(table.capacity(), 63u);
  table.add("n3", 300);
  EXPECT_EQ(table.size(), 15u);
  for (int i = 0; i < 2000; ++i) {
    table.add("m" + std::to_string(i), i);
  }
  EXPECT_EQ(table.lookup("n3"), 300u);
  EXPECT_EQ(table.lookup("m1999"), 1999u);
  EXPECT_EQ(table.lookup("m2000"), std::nullopt);
  EXPECT_LE(table.size() * 2, table.capacity());
}

}  // namespace
}  // namespace qv
