#include "pdf/fonts/cmap/CPDFMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CMapTestWorld.h"
#include "pdf/config/CharMapLimits.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CharMapLookup.h"

namespace qv {
namespace {

struct DecodeCase {
  std::vector<uint8_t> bytes;
  uint32_t cid;
  size_t used;
};

void expectDecodes(const CPDFMap& map, const std::vector<DecodeCase>& cases) {
  for (const DecodeCase& c : cases) {
    size_t used = 99;
    EXPECT_EQ(map.decodeNext(c.bytes.data(), c.bytes.size(), used), c.cid)
        << "first byte " << int(c.bytes[0]) << " of " << c.bytes.size();
    EXPECT_EQ(used, c.used) << "first byte " << int(c.bytes[0]) << " of " << c.bytes.size();
  }
}

TEST(CPDFMapTest, CMapFileDecodesThroughItsTree) {
  test::CMapTestWorld world;
  ErrorLog log;
  RefPtr<CPDFMap> map = CPDFMap::load(world.config(), "Test-Collection", "Test-H");
  ASSERT_TRUE(map);
  EXPECT_EQ(map->writingMode(), 0);
  EXPECT_FALSE(map->isIdentity());
  expectDecodes(*map, {
                          {{0x81, 0x40}, 633, 2},
                          {{0x81, 0x7E}, 695, 2},
                          {{0x81, 0x40, 0x41}, 633, 2},
                          {{0x90, 0x42}, 102, 2},
                          {{0x81, 0x50}, 5000, 2},  // from a cidchar block
                          {{0x20}, 1, 1},
                          {{0x41}, 0, 1},        // in the codespace, mapped by no range
                          {{0x81}, 0, 1},        // a lead byte without its trail byte
                          {{0x81, 0x80}, 0, 2},  // a trail byte no range covers
                          {{0xA0, 0x40}, 0, 1},  // outside the codespace
                      });
  EXPECT_TRUE(log.empty());
}

TEST(CPDFMapTest, UseCMapMergesTheOtherTree) {
  test::CMapTestWorld world;
  RefPtr<CPDFMap> map = getCMap(world.config(), "Test-Collection", "Test-V");
  ASSERT_TRUE(map);
  EXPECT_EQ(map->writingMode(), 1);
  expectDecodes(*map, {{{0x81, 0x40}, 633, 2}, {{0x81, 0x41}, 9000, 2}, {{0x20}, 1, 1}});
}

TEST(CPDFMapTest, UseCMapLoopsEnd) {
  test::CMapTestWorld world;
  ErrorLog log;
  RefPtr<CPDFMap> map = getCMap(world.config(), "Test-Collection", "Loop-A");
  ASSERT_TRUE(map);
  EXPECT_GE(log.countContaining("Too many nested usecmap"), 1u);
}

TEST(CPDFMapTest, IdentityWhenNoFileIsFound) {
  test::CMapTestWorld world;
  ErrorLog log;
  RefPtr<CPDFMap> h = CPDFMap::load(world.config(), "Adobe-Identity", "Identity-H");
  RefPtr<CPDFMap> plain = CPDFMap::load(world.config(), "Adobe-Identity", "Identity");
  RefPtr<CPDFMap> v = CPDFMap::load(world.config(), "Adobe-Identity", "Identity-V");
  ASSERT_TRUE(h && plain && v);
  EXPECT_TRUE(h->isIdentity());
  EXPECT_EQ(h->writingMode(), 0);
  EXPECT_EQ(plain->writingMode(), 0);
  EXPECT_EQ(v->writingMode(), 1);
  expectDecodes(*h, {{{0x12, 0x34, 0x56}, 0x1234, 2}, {{0x56}, 0, 1}});
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(CPDFMap::load(world.config(), "Adobe-Identity", "Other-H"));
  EXPECT_EQ(log.count("Couldn't find 'Other-H' CMap file for 'Adobe-Identity' collection"), 1u);
}

TEST(CPDFMapTest, MalformedEntriesAreReportedAndDropped) {
  test::CMapTestWorld world;
  ErrorLog log;
  RefPtr<CPDFMap> map = CPDFMap::parse(world.config(), "C", "Bad",
                                       "begincodespacerange <8140> <9ffc> <00> endcodespacerange\n"
                                       "begincidrange\n"
                                       "<a040> <a050> 1\n"  // lead byte outside the codespace
                                       "<8140> <8142> 10 <8143> <814> 20\n"  // odd digits: dropped
                                       "<0102030405> <0102030405> 3\n"       // five bytes: dropped
                                       "<81> <81> 7\n"  // a one-byte code on a lead byte
                                       "<8150> <8150> x\n"
                                       "endcidrange /WMode 7 def");
  EXPECT_EQ(log.count("Invalid CID (a040 - a050) in CMap"), 1u);
  EXPECT_EQ(log.count("Invalid CID (81 - 81) in CMap"), 1u);
  EXPECT_EQ(map->writingMode(), 0);
  expectDecodes(*map, {{{0x81, 0x42}, 12, 2}, {{0x81, 0x43}, 0, 2}, {{0x81, 0x50}, 0, 2}});
}

TEST(CPDFMapTest, CodespacePrefixesWithoutNodesDecodeToZero) {
  test::CMapTestWorld world;
  ErrorLog log;
  // GBK2K-H's layout: one-, two- and four-byte codes.
  RefPtr<CPDFMap> map = CPDFMap::parse(world.config(), "C", "Wide",
                                       "begincodespacerange <00> <7f> <81308130> <fe39fe39> "
                                       "<8140> <fefe> endcodespacerange\n"
                                       "begincidrange <81308130> <81308132> 50 endcidrange");
  EXPECT_LE(map->nodeCount(), 4u);
  expectDecodes(*map, {{{0x81, 0x30, 0x81, 0x31}, 51, 4},
                       {{0x90, 0x30, 0x81, 0x31}, 0, 4},
                       {{0x90, 0x30, 0x81}, 0, 3},
                       {{0x90, 0x40, 0x41}, 0, 2},
                       {{0x90, 0x30, 0x20}, 0, 3},
                       {{0x41, 0x42}, 0, 1}});
  EXPECT_TRUE(log.empty());
}

TEST(CPDFMapTest, TreeSizeIsBounded) {
  test::CMapTestWorld world;
  std::string text = "begincodespacerange <000000> <ffffff> endcodespacerange begincidchar\n";
  char line[32];
  for (int prefix = 0; prefix < 20000; ++prefix) {
    std::snprintf(line, sizeof line, "<%04x00> %d\n", prefix, prefix + 1);
    text += line;
  }
  ErrorLog log;
  RefPtr<CPDFMap> map = CPDFMap::parse(world.config(), "C", "Huge", text + "endcidchar");
  EXPECT_EQ(map->nodeCount(), kMaxCMapTreeNodes);
  EXPECT_EQ(log.countContaining("too many decoding nodes"), 1u);
  expectDecodes(*map, {{{0x00, 0x05, 0x00}, 6, 3}, {{0x4E, 0x20, 0x00}, 0, 3}});
}

TEST(CPDFMapTest, CacheHandsOutTheSameMapUntilEvicted) {
  test::CMapTestWorld world;
  CPDFConfig& config = world.config();
  RefPtr<CPDFMap> first = getCMap(config, "Test-Collection", "Test-H");
  EXPECT_EQ(getCMap(config, "Test-Collection", "Test-H"), first);
  // Keys are (collection, name): four other keys push Test-H out.
  for (int i = 0; i < 4; ++i) {
    getCMap(config, "Other" + std::to_string(i), "Identity-H");
  }
  RefPtr<CPDFMap> again = getCMap(config, "Test-Collection", "Test-H");
  EXPECT_NE(again, first);
  EXPECT_EQ(first->refCount(), 1);  // the cache let go of it
}

}  // namespace
}  // namespace qv
