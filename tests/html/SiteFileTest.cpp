#include "html/SiteFile.h"

#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

TEST(SiteFileTest, WritesCrLfUnderTheRealNameOnly) {
  test::ScratchDir dir("qv-html-sitefile");
  const auto file = dir / "a.htm";
  ASSERT_TRUE(WriteSiteFile(file, "one\ntwo\n"));
  EXPECT_EQ(test::readFile(file), "one\r\ntwo\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "a.htm.part"));
  ASSERT_TRUE(WriteSiteFile(file, ""));
  EXPECT_EQ(std::filesystem::file_size(file), 0u);
  // An unwritable target leaves the old file and no temporary behind.
  EXPECT_FALSE(WriteSiteFile(dir / "missing" / "b.htm", "x"));
}

TEST(SiteFileTest, AppendKeepsEarlierPieces) {
  test::ScratchDir dir("qv-html-append");
  const auto file = dir / "index.htm";
  ASSERT_TRUE(AppendSiteFile(file, "first\n"));
  ASSERT_TRUE(AppendSiteFile(file, "second"));
  EXPECT_EQ(test::readFile(file), "first\r\nsecond");
  EXPECT_FALSE(AppendSiteFile(dir.path(), "x"));  // a folder cannot be appended to
}

}  // namespace
}  // namespace qv
