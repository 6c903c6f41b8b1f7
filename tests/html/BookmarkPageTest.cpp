#include "html/BookmarkPage.h"

#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

const char kOutline[] =
    "Intro<>,1,0,792,0,0,0,1,1,0\r\n"
    "\tScope<>,2,0,0,0,0,0,0,0,0\r\n"
    "Results<>,5,0,0,0,0,0,0,0,0\r\n";

std::string dataLines(const std::string& page) {
  const size_t begin = page.find("<script>\r\nroot0 = ");
  const size_t end = page.find("</script><script>initializeDocument()");
  return page.substr(begin, end - begin);
}

TEST(BookmarkPageTest, ParsesOutlineLines) {
  struct Case {
    const char* line;
    int depth;
    const char* title;
    int page;
  };
  const Case cases[] = {
      {"Intro<>,1,0,792,0,0,0,1,1,0", 0, "Intro", 1},
      {"\t\tDeep<>,7,0,0,0,0,0,0,0,0", 1, "Deep", 7},  // one level below the previous
      {"No destination", 0, "No destination", 1},
      {"Empty page<>,,1", 0, "Empty page", 1},
      {"Bad page<>,x,1", 0, "Bad page", 0},
      {"a \"q\" <b> & c<>,3", 0, "a &quot;q&quot; &lt;b&gt; &amp; c", 3},
      {"Caf\xE9<>,2", 0, "Caf\xC3\xA9", 2},  // a Latin-1 byte becomes UTF-8
  };
  for (const Case& c : cases) {
    const auto entries = ParseOutlineEntries(std::string("Top\n") + c.line + "\n\n");
    ASSERT_EQ(entries.size(), 2u) << c.line;
    EXPECT_EQ(entries[1].depth, c.depth) << c.line;
    EXPECT_EQ(entries[1].title, c.title) << c.line;
    EXPECT_EQ(entries[1].page, c.page) << c.line;
  }
  EXPECT_EQ(ParseOutlineEntries("\t\tFirst\n")[0].depth, 0);
}

TEST(BookmarkPageTest, WritesOneDataLinePerEntry) {
  test::ScratchDir dir("qv-html-bmark");
  ConvertOptions options;
  const auto entries = ParseOutlineEntries(kOutline);
  WriteBookmarkEntries(options, entries, dir.path(), "re\"port", 1);
  std::string page = test::readFile(dir / "pg_bmark.htm");
  EXPECT_EQ(dataLines(page),
            "<script>\r\nroot0 = gFld(\"re&quot;port\", \"\")\r\n"
            "root1 = insFld(root0, gFld(\"Intro\", \"1\"))\r\n"
            "insDoc(root1, gLnk(2,\"Scope\", \"2\"))\r\n"
            "insDoc(root0, gLnk(2,\"Results\", \"5\"))\r\n");
  EXPECT_EQ(page.substr(page.size() - 10), "\r\n\t</html>");
  EXPECT_NE(page.find("<html>\r\n<head><meta http-equiv"), std::string::npos);
  EXPECT_NE(page.find("A:hover {text-decoration: underline; color:#FF0000}"), std::string::npos);

  WriteBookmarkEntries(options, entries, dir.path(), "report", 3);
  page = test::readFile(dir / "pg_bmark.htm");
  EXPECT_NE(dataLines(page).find("gFld(\"Intro\", \"0\")"), std::string::npos);
  EXPECT_NE(dataLines(page).find("gLnk(2,\"Scope\", \"0\")"), std::string::npos);
  EXPECT_NE(dataLines(page).find("gLnk(2,\"Results\", \"3\")"), std::string::npos);
}

TEST(BookmarkPageTest, NoOutlineGivesTheNoBookmarksPage) {
  test::ScratchDir dir("qv-html-nobmark");
  ConvertOptions options;
  options.bookmarkFont = 2;
  WriteBookmarkPage(options, nullptr, dir.path(), "report", 1, 3);
  const std::string page = test::readFile(dir / "pg_bmark.htm");
  EXPECT_EQ(dataLines(page),
            "<script>\r\nroot0 = gFld(\"report\", \"\")\r\n"
            "root0 = gFld(\"Your pdf file doesn't contain bookmarks\", \"\")\r\n");
  EXPECT_NE(page.find("font: 12px Courier New, Courier, mono;"), std::string::npos);
}

TEST(BookmarkPageTest, TitlesCannotBreakTheScript) {
  test::ScratchDir dir("qv-html-bmark-js");
  const auto entries = ParseOutlineEntries("back\\slash</script><>,1\n");
  WriteBookmarkEntries(ConvertOptions{}, entries, dir.path(), "doc", 1);
  EXPECT_NE(test::readFile(dir / "pg_bmark.htm")
                .find("insDoc(root0, gLnk(2,\"back\\\\slash&lt;/script&gt;\", \"1\"))"),
            std::string::npos);
}

}  // namespace
}  // namespace qv
