#include "app/HtmlSiteOutput.h"

#include <gtest/gtest.h>

#include "extract/DocBridge.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

TEST(HtmlSiteOutputTest, FinishingTheBatchDeletesTheOutlineFile) {
  const auto outline = DocBridgeOutlineFilePath();
  test::writeFile(outline, "1 Chapter\r\n");
  ASSERT_TRUE(std::filesystem::exists(outline));
  HtmlSiteOutput output;
  output.finishBatch();
  EXPECT_FALSE(std::filesystem::exists(outline));
  output.finishBatch();  // nothing left to delete: still fine
}

}  // namespace
}  // namespace qv
