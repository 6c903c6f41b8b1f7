#include <gtest/gtest.h>

#include "html/FramesetPage.h"
#include "html/NavigationPage.h"
#include "html/PageIndexPage.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

std::string golden(const std::string& name) {
  return test::readFile(test::fixturesDir() / "html" / name);
}

TEST(SitePagesTest, FramesetMatchesGolden) {
  test::ScratchDir dir("qv-html-frameset");
  ConvertOptions options;
  WriteFramesetPage(options, dir.path(), "report", 4, 9);
  EXPECT_EQ(test::readFile(dir / "index.htm"), golden("frameset_index.htm"));

  options.frameStructure = 1;
  options.outputTitle = 1;
  options.keywords = "pdf, 100% html";
  WriteFramesetPage(options, dir.path(), "report", 1, 6);
  EXPECT_EQ(test::readFile(dir / "index.htm"), golden("frameset_bookmarks_keywords.htm"));
}

TEST(SitePagesTest, FramesetVariants) {
  test::ScratchDir dir("qv-html-frameset2");
  ConvertOptions options;
  options.frameStructure = 2;
  WriteFramesetPage(options, dir.path(), "report", 1, 3);
  EXPECT_EQ(std::filesystem::file_size(dir / "index.htm"), 0u);

  // The title is the document name with outputTitle 0, whatever customTitle holds; a title
  // from a file name is escaped for HTML text.
  options.frameStructure = 0;
  options.customTitle = "ignored";
  WriteFramesetPage(options, dir.path(), "a<b>&c 50%", 1, 3);
  const std::string text = test::readFile(dir / "index.htm");
  EXPECT_NE(text.find("<title>a&lt;b&gt;&amp;c 50%</title><script"), std::string::npos);
  EXPECT_EQ(text.find("ignored"), std::string::npos);
}

TEST(SitePagesTest, PageIndexMatchesGolden) {
  test::ScratchDir dir("qv-html-index");
  ConvertOptions options;
  WritePageIndexPage(options, dir.path(), "doc", 1, 3);
  EXPECT_EQ(test::readFile(dir / "pg_index.htm"), golden("page_index_default.htm"));

  options.keywords = "pdf, 100% html";
  options.bookmarksBackground = 0x0CAB12;
  options.linksColor = 0x030201;
  options.visitedLinksColor = 0x060504;
  options.activeLinksColor = 0x090807;
  options.frameStructure = 1;  // the same page for every frame structure
  options.htmlBackground = 0;  // not the page index's colour
  WritePageIndexPage(options, dir.path(), "doc", 1, 3);
  EXPECT_EQ(test::readFile(dir / "pg_index.htm"), golden("page_index_keywords.htm"));
}

TEST(SitePagesTest, NavigationMatchesGoldenPerAlignment) {
  const char* goldens[] = {"navigation_left.htm", "navigation_right.htm", "navigation_center.htm"};
  test::ScratchDir dir("qv-html-nav");
  for (int align = 0; align < 3; ++align) {
    ConvertOptions options;
    options.navigationAlign = align;
    if (align == 2) {
      options.keywords = "pdf";
      options.navigationBackground = 0x00336699;
    }
    WriteNavigationPage(options, dir.path(), "doc", 1, 6);
    EXPECT_EQ(test::readFile(dir / "pg_nav.htm"), golden(goldens[align])) << goldens[align];
  }
}

}  // namespace
}  // namespace qv
