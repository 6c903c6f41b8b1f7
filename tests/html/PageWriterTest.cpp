#include "html/PageWriter.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

PDFTextItem glyph(int x, int y, std::u16string text, int advance = 7, int size = 12,
                  std::string font = "Arial", uint32_t color = 0, int bold = 0) {
  PDFTextItem item;
  item.x = x;
  item.y = y;
  item.count = static_cast<int32_t>(text.size());
  item.text = std::move(text);
  item.advance = advance;
  item.size = size;
  item.fontName = std::move(font);
  item.color = color;
  item.bold = bold;
  return item;
}

PDFPageRecord recordOf(std::vector<PDFTextItem> glyphs, int pageNumber = 1) {
  PDFPageRecord record;
  record.width = 612;
  record.height = 792;
  record.pageNumber = pageNumber;
  for (auto& g : glyphs) {
    record.items.push_back(PDFPageItem::text(std::move(g)));
  }
  return record;
}

// The text runs of a written page: everything between the scroll script and the zoom script.
std::string runsOf(const std::string& page) {
  const std::string marker = "</script>\r\n<div";
  size_t begin = page.find(marker);
  if (begin == std::string::npos) {
    return {};
  }
  begin += marker.size() - 4;
  size_t end = page.find("<script", begin);
  return page.substr(begin, end - begin);
}

std::string run(int top, int left, int k, const std::string& text) {
  return "<div style=\"position:absolute;top:" + std::to_string(top) +
         ";left:" + std::to_string(left) + "\"><nobr><span class=\"ft" + std::to_string(k) + "\">" +
         text + "</span></nobr></div>\r\n";
}

TEST(PageWriterTest, EmptyPageMatchesGolden) {
  test::ScratchDir dir("qv-html-page");
  PageWriterState state;
  ConvertOptions options;
  options.ignoreImages = 0;
  PDFPageRecord record = recordOf({});
  record.items.push_back(PDFPageItem::line({}));
  ASSERT_EQ(WritePageHtml(state, options, record, nullptr, dir / "pg_0001.htm", 1), 1);
  EXPECT_EQ(test::readFile(dir / "pg_0001.htm"),
            test::readFile(test::fixturesDir() / "html" / "page_empty.htm"));
  EXPECT_TRUE(record.items.empty());
  EXPECT_EQ(WritePageHtml(state, options, record, nullptr, {}, 1), -1);
}

TEST(PageWriterTest, PageWithLinksMatchesGolden) {
  test::ScratchDir dir("qv-html-links");
  PageWriterState state;
  ConvertOptions options;
  options.keywords = "a \"b\"";
  PDFPageRecord record =
      recordOf({glyph(100, 200, u"H", 8), glyph(108, 200, u"i", 3), glyph(120, 200, u"<", 7),
                glyph(300, 400, u"B", 12, 20, "Times New Roman", 0xFF, 0x40000)});
  PDFTextItem rotated = glyph(50, 50, u"R");
  rotated.orientation = 900;
  record.items.insert(record.items.begin() + 1, PDFPageItem::image({}));
  record.items.push_back(PDFPageItem::text(rotated));
  record.items.push_back(PDFPageItem::removeClip());
  const PDFLinkAreaList links = {{10, 110, 20, 40, "actionGoTo:7"},
                                 {10, 200, 50, 70, "actionURI:http://example.com/?a=1&b=2"},
                                 {10, 200, 80, 90, "actionURI:javascript:alert(1)"}};
  ASSERT_TRUE(
      WritePageFile(state, options, record, &links, dir / "pg_0001.htm", dir / "pg_0001.png", 5));
  EXPECT_EQ(test::readFile(dir / "pg_0001.htm"),
            test::readFile(test::fixturesDir() / "html" / "page_links.htm"));
  EXPECT_EQ(record.items.size(), 5u);  // the text items, the rotated one included
}

TEST(PageWriterTest, JoinsGlyphsIntoRuns) {
  struct Case {
    const char* name;
    std::vector<PDFTextItem> glyphs;
    std::string runs;
  };
  const std::vector<Case> cases = {
      {"50 pixels apart join",
       {glyph(100, 100, u"a"), glyph(150, 100, u"b")},
       run(90, 100, 0, "a b")},
      {"51 pixels apart split",
       {glyph(100, 100, u"a"), glyph(151, 100, u"b")},
       run(90, 100, 0, "a") + run(90, 151, 0, " b")},
      {"gap over 0.15 size gives a space",
       {glyph(100, 100, u"A", 7, 10), glyph(109, 100, u"B", 7, 10)},
       run(92, 100, 0, "A B")},
      {"gap of 1.5 or less gives none",
       {glyph(100, 100, u"A", 7, 10), glyph(108, 100, u"B", 7, 10)},
       run(92, 100, 0, "AB")},
      {"duplicate glyph written once",
       {glyph(100, 100, u"A", 7), glyph(100, 100, u"A", 7), glyph(107, 100, u"B", 7)},
       run(90, 100, 0, "A") + run(90, 100, 0, "B")},
      {"bold then regular share the bold run",
       {glyph(100, 100, u"A", 7, 12, "Arial", 0, 0x40000), glyph(107, 100, u"B", 7)},
       run(90, 100, 0, "AB")},
      {"leftwards glyph starts a run",
       {glyph(100, 100, u"a"), glyph(90, 100, u"b")},
       run(90, 100, 0, "a") + run(90, 90, 0, "b")},
      {"other size splits",
       {glyph(100, 100, u"a"), glyph(107, 100, u"b", 7, 11)},
       run(90, 100, 0, "a") + run(91, 107, 1, "b")},
      {"other colour splits",
       {glyph(100, 100, u"a"), glyph(107, 100, u"b", 7, 12, "Arial", 5)},
       run(90, 100, 0, "a") + run(90, 107, 1, "b")},
      {"next line splits",
       {glyph(100, 100, u"a"), glyph(107, 112, u"b")},
       run(90, 100, 0, "a") + run(102, 107, 0, "b")},
      {"entities",
       {glyph(100, 100, u"<"), glyph(107, 100, u"&"), glyph(114, 100, u">"),
        glyph(121, 100, u"\"")},
       run(90, 100, 0, "&lt;&amp;&gt;&quot;")},
      {"utf-8 text",
       {glyph(100, 100, u"\u00e9"), glyph(107, 100, u"\u4e2d")},
       run(90, 100, 0, "\xC3\xA9\xE4\xB8\xAD")},
  };
  test::ScratchDir dir("qv-html-runs");
  ConvertOptions options;
  options.ignoreImages = 0;
  for (const Case& c : cases) {
    PageWriterState state;
    PDFPageRecord record = recordOf(c.glyphs);
    ASSERT_EQ(WritePageHtml(state, options, record, nullptr, dir / "pg_0001.htm", 1), 1);
    EXPECT_EQ(runsOf(test::readFile(dir / "pg_0001.htm")), c.runs) << c.name;
  }
}

TEST(PageWriterTest, SingleDocumentAppendsPagesBelowEachOther) {
  test::ScratchDir dir("qv-html-single");
  test::writeFile(dir / "index.htm", "");
  PageWriterState state;
  ConvertOptions options;
  options.frameStructure = 2;
  options.outputMode = 0;
  const PDFLinkAreaList links = {{1, 2, 3, 4, "actionGoTo:2"}};
  for (int page = 1; page <= 2; ++page) {
    PDFPageRecord record =
        recordOf({glyph(10, 30, page == 1 ? u"x" : u"y", 7, 12, "Arial", page == 1 ? 0 : 5)}, page);
    record.height = 100;
    ASSERT_TRUE(
        WritePageFile(state, options, record, &links, dir / "pg_0001.htm", dir / "pg_0001.png", 1));
    state.singleDocumentTop += record.height + 10;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "pg_0001.htm"));
  const std::string text = test::readFile(dir / "index.htm");
  EXPECT_NE(text.find(run(20, 10, 0, "x")), std::string::npos);
  EXPECT_NE(text.find(run(130, 10, 1, "y")), std::string::npos);
  // The classes carry over: the second page lists the first page's class again.
  EXPECT_NE(text.find(".ft0{", text.find(".ft0{") + 1), std::string::npos);
  EXPECT_NE(text.find("top:110;left:0\"><img width=\"612\" height=\"100\""), std::string::npos);
  EXPECT_EQ(text.find("FPMap0"), std::string::npos);
  EXPECT_EQ(text.find("currentZoom"), std::string::npos);
  EXPECT_EQ(text.find("<html>"), 0u);
  EXPECT_EQ(text.rfind("</html>"), text.size() - 7);
}

TEST(PageWriterTest, FirstPageOfRangeResetsDocumentState) {
  test::ScratchDir dir("qv-html-reset");
  PageWriterState state;
  state.styleClasses.push_back({});
  state.singleDocumentTop = 5000;
  ConvertOptions options;
  options.ignoreImages = 0;
  options.frameStructure = 2;
  PDFPageRecord record = recordOf({glyph(10, 30, u"x")}, 3);
  record.height = std::numeric_limits<int32_t>::max();
  ASSERT_EQ(WritePageHtml(state, options, record, nullptr, dir / "pg_0001.htm", 3), 1);
  EXPECT_EQ(state.styleClasses.size(), 1u);
  EXPECT_TRUE(state.singleDocument);
  // The offset saturates instead of overflowing.
  EXPECT_EQ(state.singleDocumentTop, std::numeric_limits<int32_t>::max());
}

TEST(PageWriterTest, ReportsAFileThatCannotBeCreated) {
  test::ScratchDir dir("qv-html-fail");
  PageWriterState state;
  std::string message;
  state.showMessage = [&](const std::string& text) { message = text; };
  ConvertOptions options;
  options.ignoreImages = 0;
  PDFPageRecord record = recordOf({});
  const auto file = dir / "missing" / "pg_0001.htm";
  EXPECT_EQ(WritePageHtml(state, options, record, nullptr, file, 1), 1);
  EXPECT_EQ(message, "Create file error [" + file.string() + "]!");
}

}  // namespace
}  // namespace qv
