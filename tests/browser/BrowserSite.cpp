// Writes a small converted site from hand-made page records into the folder given as the
// first argument, with the navigation images copied from the folder given as the second:
// three pages with text in two styles, a painted page image, a GoTo link and a URI link.
// The browser test (site.test.mjs) then drives the site in a real browser.

#include <cstdio>
#include <filesystem>
#include <string>

#include "html/BookmarkPage.h"
#include "html/FramesetPage.h"
#include "html/NavigationPage.h"
#include "html/PageIndexPage.h"
#include "html/PageWriter.h"

namespace {

qv::PDFTextItem glyph(int x, int y, char16_t c, int size, const char* font, uint32_t color,
                      int bold) {
  qv::PDFTextItem item;
  item.x = x;
  item.y = y;
  item.text = std::u16string(1, c);
  item.count = 1;
  item.advance = size / 2;
  item.size = size;
  item.fontName = font;
  item.color = color;
  item.bold = bold;
  return item;
}

void addText(qv::PDFPageRecord& record, int x, int y, const std::u16string& text, int size,
             const char* font, uint32_t color, int bold) {
  for (char16_t c : text) {
    if (c != u' ') {
      record.items.push_back(qv::PDFPageItem::text(glyph(x, y, c, size, font, color, bold)));
    }
    x += size / 2;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SITE-FOLDER IMAGES-FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path site = argv[1];
  std::error_code error;
  std::filesystem::remove_all(site, error);
  std::filesystem::create_directories(site / "images");
  std::filesystem::copy(
      argv[2], site / "images",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing,
      error);
  if (error) {
    std::fprintf(stderr, "cannot copy the images: %s\n", error.message().c_str());
    return 1;
  }

  qv::ConvertOptions options;
  options.ignoreImages = 1;
  const int firstPage = 1;
  const int lastPage = 3;
  qv::WriteFramesetPage(options, site, "sample", firstPage, lastPage);
  qv::WritePageIndexPage(options, site, "sample", firstPage, lastPage);
  qv::WriteNavigationPage(options, site, "sample", firstPage, lastPage);
  qv::WriteBookmarkEntries(options, {{0, "Start", 1}, {1, "Inside", 2}, {0, "End", 3}}, site,
                           "sample", firstPage);

  qv::PageWriterState state;
  for (int page = firstPage; page <= lastPage; ++page) {
    qv::PDFPageRecord record;
    record.width = 400;
    record.height = 300;
    record.pageNumber = page;
    qv::PDFPolygonItem band;
    band.points = {{0, 250}, {400, 250}, {400, 300}, {0, 300}};
    band.color = 0x00F0C080;
    record.items.push_back(qv::PDFPageItem::polygon(band));
    addText(record, 20, 40, u"Heading " + std::u16string(1, u'0' + page), 24, "Times New Roman",
            0x00000080, 0x40000);
    addText(record, 20, 80, u"Body text of page " + std::u16string(1, u'0' + page), 12, "Arial",
            0x00000000, 0);
    addText(record, 20, 120, u"Go to page 3", 12, "Arial", 0x00FF0000, 0);
    addText(record, 20, 160, u"Example site", 12, "Arial", 0x00FF0000, 0);
    const qv::PDFLinkAreaList links = {
        {20, 120, 105, 125, "actionGoTo:3"},
        {20, 120, 145, 165, "actionURI:https://example.com/a?b=1&c=2"}};
    char name[32];
    std::snprintf(name, sizeof name, "pg_%04d.htm", page - firstPage + 1);
    qv::WritePageHtml(state, options, record, &links, site / name, firstPage);
  }
  return 0;
}
