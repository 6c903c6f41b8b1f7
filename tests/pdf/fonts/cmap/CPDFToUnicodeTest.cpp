#include "pdf/fonts/cmap/CPDFToUnicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CMapTestWorld.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CharMapLookup.h"

namespace qv {
namespace {

std::u16string mapped(const CPDFToUnicode& map, uint32_t code, int capacity = 8) {
  char16_t units[16] = {};
  int n = map.map(code, units, capacity);
  return std::u16string(units, units + n);
}

struct ToUnicodeCase {
  const char* text;
  int bits;
  uint32_t code;
  std::u16string expected;
  const char* message;  // a report expected, or nullptr
};

TEST(CPDFToUnicodeTest, ToUnicodeCMaps) {
  const ToUnicodeCase cases[] = {
      {"1 beginbfchar\n<41> <0041>\nendbfchar", 8, 0x41, u"A", nullptr},
      {"1 beginbfchar\n<0041> <0041>\nendbfchar", 8, 0x41, u"",
       "Illegal line in bfchar block in ToUnicode CMap"},
      {"beginbfchar <41> endbfchar", 8, 0x41, u"",
       "Illegal line in bfchar block in ToUnicode CMap"},
      {"beginbfchar <41>", 8, 0x41, u"", "Illegal bfchar block in ToUnicode CPDFMap"},
      {"beginbfchar <41> <00zz> endbfchar", 8, 0x41, u"",
       "Illegal line in bfchar block in ToUnicode CPDFMap"},
      {"beginbfchar\n<0003> <0020>\nendbfchar", 16, 3, u" ", nullptr},
      {"beginbfchar <03> <41> endbfchar", 8, 3, u"A", nullptr},  // a short destination
      {"beginbfrange\n<20> <22> <0041>\nendbfrange", 8, 0x22, u"C", nullptr},
      {"beginbfrange\n<20> <22> <0041>\nendbfrange", 8, 0x20, u"A", nullptr},
      {"beginbfrange <20> <21> <00660066> endbfrange", 8, 0x20, u"ff", nullptr},
      {"beginbfrange <20> <21> <00660066> endbfrange", 8, 0x21, u"fg", nullptr},
      {"beginbfrange <22> <20> <0041> endbfrange", 8, 0x21, u"", nullptr},
      {"beginbfrange <20> <21> endbfrange", 8, 0x20, u"",
       "Illegal line in bfrange block in ToUnicode CPDFMap"},
      {"beginbfrange <20> <21>", 8, 0x20, u"", "Illegal bfrange block in ToUnicode CPDFMap"},
      // Nine units: the first eight are kept.
      {"beginbfchar <01> <004100420043004400450046004700480049> endbfchar", 8, 1, u"ABCDEFGH",
       nullptr},
      // Array destinations give one destination per code.
      {"beginbfrange <01> <03> [<0061> <00660069> <0063>] endbfrange", 8, 2, u"fi", nullptr},
      {"beginbfrange <01> <03> [<0061> <00660069> <0063>] endbfrange", 8, 3, u"c", nullptr},
      // Several entries on a line, without blanks between them.
      {"2 beginbfchar<01><0041><02><0042>endbfchar", 8, 2, u"B", nullptr},
      {"beginbfchar <01> <D835DC00> endbfchar", 8, 1, u"\U0001D400", nullptr},
      // Later entries replace earlier ones, direct or not.
      {"beginbfrange <01> <02> <00660066> endbfrange beginbfchar <01> <0041> endbfchar", 8, 1, u"A",
       nullptr},
      {"beginbfchar <01> <0041> endbfchar beginbfchar <01> <00410042> endbfchar", 8, 1, u"AB",
       nullptr},
      // A missing end keyword ends the block at the next keyword.
      {"beginbfchar <01> <0041> beginbfrange <02> <03> <0061> endbfrange", 8, 3, u"b", nullptr},
      {"% beginbfchar <01> <0041> endbfchar\n", 8, 1, u"", nullptr},
  };
  test::CMapTestWorld world;
  for (const ToUnicodeCase& c : cases) {
    SCOPED_TRACE(c.text);
    ErrorLog log;
    RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromToUnicodeStream(c.text, c.bits, world.config());
    ASSERT_TRUE(map);
    EXPECT_EQ(mapped(*map, c.code), c.expected);
    if (c.message) {
      EXPECT_EQ(log.count(c.message), 1u);
    } else {
      EXPECT_TRUE(log.empty()) << log.entries().front().message;
    }
  }
}

TEST(CPDFToUnicodeTest, TableGrowsInBlocksAndCapacityCutsUnits) {
  test::CMapTestWorld world;
  RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromToUnicodeStream(
      "beginbfchar <0105> <006600660069> endbfchar", 16, world.config());
  EXPECT_EQ(map->tableSize(), 512u);
  EXPECT_EQ(mapped(*map, 0x105, 2), u"ff");
  EXPECT_EQ(mapped(*map, 0x105, 0), u"");
  EXPECT_EQ(mapped(*map, 0x104), u"");
  EXPECT_EQ(mapped(*map, 0x10000), u"");
}

TEST(CPDFToUnicodeTest, UseCMapReadsTheToUnicodeFolder) {
  test::CMapTestWorld world;
  test::writeFile(world.scratch() / "tounicode" / "Base",
                  "beginbfchar <01> <0041> <02> <0042> endbfchar");
  ErrorLog log;
  RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromToUnicodeStream(
      "/Base usecmap /Missing usecmap beginbfchar <02> <0043> endbfchar", 8, world.config());
  EXPECT_EQ(mapped(*map, 1), u"A");
  EXPECT_EQ(mapped(*map, 2), u"C");
  EXPECT_EQ(log.count("Couldn't find ToUnicode CPDFMap file for 'Missing'"), 1u);

  test::writeFile(world.scratch() / "tounicode" / "Self", "/Self usecmap");
  ErrorLog loop;
  CPDFToUnicode::fromToUnicodeStream("/Self usecmap", 8, world.config());
  EXPECT_EQ(loop.countContaining("Too many nested usecmap"), 1u);
}

TEST(CPDFToUnicodeTest, RangeWorkIsBounded) {
  test::CMapTestWorld world;
  std::string text = "beginbfrange\n";
  for (int i = 0; i < 70; ++i) {
    text += "<0000> <ffff> <0041>\n";
  }
  text += "endbfrange beginbfchar <0001> <0058> endbfchar";
  ErrorLog log;
  RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromToUnicodeStream(text, 16, world.config());
  EXPECT_EQ(log.count("Too many bfrange entries in ToUnicode CMap"), 1u);
  EXPECT_EQ(mapped(*map, 0), u"A");
  EXPECT_EQ(mapped(*map, 1), u"X");  // entries after the bound still apply
}

TEST(CPDFToUnicodeTest, CodeTable) {
  std::array<char16_t, 256> table{};
  table[0x41] = u'A';
  RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromCodeTable(table);
  EXPECT_EQ(mapped(*map, 0x41), u"A");
  EXPECT_EQ(mapped(*map, 0x42), u"");
  EXPECT_EQ(mapped(*map, 0x141), u"");
  EXPECT_FALSE(map->collection());
}

TEST(CPDFToUnicodeTest, CidToUnicodeFiles) {
  test::CMapTestWorld world;
  RefPtr<CPDFToUnicode> map = getCIDToUnicode(world.config(), "Test-Collection");
  ASSERT_TRUE(map);
  EXPECT_EQ(map->collection(), "Test-Collection");
  EXPECT_EQ(map->tableSize(), 5u);
  EXPECT_EQ(mapped(*map, 0), u"");
  EXPECT_EQ(mapped(*map, 2), u"A");
  EXPECT_EQ(mapped(*map, 3), u"\U00020164");  // beyond 16 bits: a surrogate pair
  EXPECT_EQ(mapped(*map, 4), u"\u4e2d");
  EXPECT_EQ(getCIDToUnicode(world.config(), "Test-Collection"), map);

  ErrorLog log;
  EXPECT_FALSE(getCIDToUnicode(world.config(), "Adobe-None"));
  EXPECT_EQ(log.count("Couldn't find cidToUnicode file for the 'Adobe-None' collection"), 1u);

  RefPtr<CPDFToUnicode> parsed = CPDFToUnicode::parseCidToUnicode("C", "0041\r\nzz\r\n 0x42\n");
  EXPECT_EQ(parsed->tableSize(), 3u);
  EXPECT_EQ(mapped(*parsed, 1), u"");
  EXPECT_EQ(mapped(*parsed, 2), u"B");
  EXPECT_EQ(log.count("Bad line (1) in cidToUnicode file for the 'C' collection"), 1u);

  std::string many;
  for (int i = 0; i < 70000; ++i) {
    many += "41\n";
  }
  EXPECT_EQ(CPDFToUnicode::parseCidToUnicode("C", many)->tableSize(), kMaxCIDToUnicodeEntries);
}

}  // namespace
}  // namespace qv
