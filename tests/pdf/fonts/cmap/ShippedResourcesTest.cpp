// The configuration and character data that ship beside the programs: found from the
// program folder whatever the current folder is, and mapping known codes of each collection.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pdf/config/CPDFConfig.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CharMapLookup.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

class ShippedResourcesTest : public ::testing::Test {
 protected:
  ShippedResourcesTest()
      : config_("config.lst", CPDFConfigLocations{scratch_.path(), test::binDir(), scratch_ / "tmp",
                                                  scratch_ / "home"}) {}

  test::ScratchDir scratch_{"qv-shipped"};
  CPDFConfig config_;
};

TEST_F(ShippedResourcesTest, ConfigurationIsFoundBesideThePrograms) {
  ASSERT_TRUE(config_.configFilePath());
  EXPECT_EQ(*config_.configFilePath(), test::binDir() / "Resource" / "config.lst");
}

TEST_F(ShippedResourcesTest, CMapsAndCidToUnicodeMapsRoundTrip) {
  struct Case {
    const char* collection;
    const char* cmap;
    std::vector<uint8_t> bytes;
    size_t used;
    char16_t unicode;  // of the decoded CID through the collection's cidToUnicode map
    int writingMode;
  };
  const Case cases[] = {
      {"Adobe-GB1", "UniGB-UCS2-H", {0x4E, 0x2D}, 2, 0x4E2D, 0},  // 中
      {"Adobe-GB1", "GBK-EUC-H", {0xD6, 0xD0}, 2, 0x4E2D, 0},     // 中 in GBK
      {"Adobe-GB1", "GBK-EUC-H", {0x41}, 1, 0x41, 0},
      {"Adobe-CNS1", "UniCNS-UCS2-H", {0x4E, 0x2D}, 2, 0x4E2D, 0},
      {"Adobe-CNS1", "ETen-B5-H", {0xA4, 0xA4}, 2, 0x4E2D, 0},      // 中 in Big5
      {"Adobe-Japan1", "90ms-RKSJ-H", {0x82, 0xA0}, 2, 0x3042, 0},  // あ in Shift-JIS
      {"Adobe-Japan1", "90ms-RKSJ-H", {0x41}, 1, 0x41, 0},
      {"Adobe-Japan1", "90ms-RKSJ-V", {0x82, 0xA0}, 2, 0x3042, 1},  // through usecmap
      {"Adobe-Japan1", "UniJIS-UCS2-H", {0x30, 0x42}, 2, 0x3042, 0},
      {"Adobe-Japan1", "UniJIS-UTF16-H", {0x30, 0x42}, 2, 0x3042, 0},
      {"Adobe-Japan1", "UniJIS-UTF16-H", {0x00, 0x41}, 2, 0x41, 0},  // from a cidchar block
      {"Adobe-Korea1", "UniKS-UCS2-H", {0xAC, 0x00}, 2, 0xAC00, 0},  // 가
      {"Adobe-Korea1", "KSCms-UHC-H", {0xB0, 0xA1}, 2, 0xAC00, 0},   // 가 in UHC
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cmap);
    ErrorLog log;
    RefPtr<CPDFMap> cmap = getCMap(config_, c.collection, c.cmap);
    ASSERT_TRUE(cmap);
    EXPECT_FALSE(cmap->isIdentity());
    EXPECT_EQ(cmap->writingMode(), c.writingMode);
    size_t used = 0;
    uint32_t cid = cmap->decodeNext(c.bytes.data(), c.bytes.size(), used);
    EXPECT_EQ(used, c.used);
    EXPECT_NE(cid, 0u);
    RefPtr<CPDFToUnicode> toUnicode = getCIDToUnicode(config_, c.collection);
    ASSERT_TRUE(toUnicode);
    char16_t units[8];
    ASSERT_EQ(toUnicode->map(cid, units, 8), 1);
    EXPECT_EQ(units[0], c.unicode);
    EXPECT_TRUE(log.empty()) << log.entries().front().message;
  }
}

TEST_F(ShippedResourcesTest, IdentityCMapsShip) {
  for (const char* collection : {"Adobe-Identity", "Adobe-Japan1"}) {
    RefPtr<CPDFMap> h = getCMap(config_, collection, "Identity-H");
    RefPtr<CPDFMap> v = getCMap(config_, collection, "Identity-V");
    ASSERT_TRUE(h && v);
    EXPECT_EQ(h->writingMode(), 0);
    EXPECT_EQ(v->writingMode(), 1);
    const uint8_t bytes[] = {0x12, 0x34, 0xFF};
    size_t used = 0;
    EXPECT_EQ(h->decodeNext(bytes, 3, used), 0x1234u);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(v->decodeNext(bytes + 1, 2, used), 0x34FFu);
  }
}

TEST_F(ShippedResourcesTest, EveryShippedCMapReadsCleanly) {
  // All shipped CMaps share one folder, so any configured collection finds them.
  int count = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(test::binDir() / "Resource" / "CMap")) {
    std::string name = entry.path().filename().string();
    if (name == "LICENSE.md") {
      continue;
    }
    SCOPED_TRACE(name);
    ErrorLog log;
    RefPtr<CPDFMap> map = CPDFMap::load(config_, "Adobe-GB1", name);
    ASSERT_TRUE(map);
    EXPECT_FALSE(map->isIdentity());
    EXPECT_TRUE(log.empty()) << log.entries().front().message;
    ++count;
  }
  EXPECT_GT(count, 150);
}

}  // namespace
}  // namespace qv
