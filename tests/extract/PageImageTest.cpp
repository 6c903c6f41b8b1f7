#include "extract/PageImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "platform/Canvas.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kGreen = 0x0000FF00;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kNearWhite = 0x00FAFFFF;  // blue 250, as the device makes white pixels

PDFPolygonItem square(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t color) {
  return {{{l, t}, {r, t}, {r, b}, {l, b}}, 2, color};
}

// Two nested squares as one polygon (the inner one drawn the same way round): even-odd
// leaves the inner square empty, winding fills it.
PDFPolygonItem nestedSquares(int32_t x, int32_t y, int32_t fillMode) {
  return {{{x, y},
           {x + 40, y},
           {x + 40, y + 40},
           {x, y + 40},
           {x, y},
           {x + 10, y + 10},
           {x + 30, y + 10},
           {x + 30, y + 30},
           {x + 10, y + 30},
           {x + 10, y + 10}},
          fillMode,
          kBlue};
}

// A 2x2 image, bottom row first: white and near-white below, red and green above.
PDFImageItem quadImage(int32_t x, int32_t y, int32_t size) {
  PDFImageItem image;
  image.header.width = 2;
  image.header.height = 2;
  image.header.sizeImage = 16;
  image.destX = x;
  image.destY = y;
  image.destWidth = size;
  image.destHeight = size;
  image.pixels = {255, 255, 255, 0, 250, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
  return image;
}

PDFTextItem glyph(int32_t orientation) {
  PDFTextItem text;
  text.x = 150;
  text.y = 190;
  text.text.assign(1, u'H');
  text.count = 1;
  text.fontName = "Arial";
  text.size = 30;
  text.advance = 0;
  text.orientation = orientation;
  text.color = kRed;
  return text;
}

PDFPageRecord everyKindRecord() {
  PDFPageRecord record;
  record.width = 200;
  record.height = 200;
  record.items.push_back(PDFPageItem::clip({{0, 0, 200, 200}, {{0, 0, 200, 200}}}));
  record.items.push_back(PDFPageItem::polygon(nestedSquares(0, 0, 1)));
  record.items.push_back(PDFPageItem::polygon(nestedSquares(50, 0, 2)));
  // Only the two clip rectangles of the next fill reach the page.
  record.items.push_back(
      PDFPageItem::clip({{100, 0, 200, 60}, {{100, 0, 120, 20}, {150, 40, 200, 60}}}));
  record.items.push_back(PDFPageItem::polygon(square(0, 0, 200, 200, kGreen)));
  record.items.push_back(PDFPageItem::removeClip());
  record.items.push_back(PDFPageItem::image(quadImage(0, 60, 40)));
  record.items.push_back(PDFPageItem::line({0, 120, 100, 120, 1, kRed, 0}));
  record.items.push_back(PDFPageItem::text(glyph(0)));    // horizontal: HTML text only
  record.items.push_back(PDFPageItem::text(glyph(900)));  // rotated: painted
  return record;
}

TEST(PageImageTest, PaintsEveryItemKindInOrder) {
  const PDFPageRecord record = everyKindRecord();
  auto canvas = Canvas::create(record.width, record.height);
  canvas->fill(kWhite);
  PaintPageRecord(*canvas, record);

  const struct {
    int32_t x, y;
    uint32_t color;
    const char* what;
  } expected[] = {
      {5, 5, kBlue, "even-odd outer ring"},
      {20, 20, kWhite, "even-odd inner square"},
      {55, 5, kBlue, "winding outer ring"},
      {70, 20, kBlue, "winding inner square"},
      {110, 10, kGreen, "first clip rectangle"},
      {160, 50, kGreen, "second clip rectangle"},
      {130, 10, kWhite, "outside the clip"},
      {10, 190, kWhite, "untouched background"},
      {5, 65, kRed, "image top-left"},
      {35, 65, kGreen, "image top-right"},
      {5, 95, kWhite, "pure white image pixel left out"},
      {35, 95, kNearWhite, "near-white image pixel painted"},
      {50, 120, kRed, "line"},
      {50, 119, kWhite, "above the line"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(canvas->pixel(e.x, e.y), e.color) << e.what;
  }

  // The rotated glyph runs up from (150, 190) with its ascent to the left; the horizontal
  // one, which would lie right of the origin, is not painted.
  int rotatedInk = 0;
  int horizontalInk = 0;
  for (int y = 150; y < 200; ++y) {
    for (int x = 120; x < 200; ++x) {
      if (canvas->pixel(x, y) != kWhite) {
        (x < 152 ? rotatedInk : horizontalInk)++;
      }
    }
  }
  EXPECT_GT(rotatedInk, 50);
  EXPECT_EQ(horizontalInk, 0);
}

// Damaged records: every item is either drawn within the page or left out, never read out
// of bounds.
TEST(PageImageTest, DamagedItemsPaintSafely) {
  PDFPageRecord record;
  record.width = 50;
  record.height = 50;
  PDFImageItem tooFewBytes = quadImage(0, 0, 50);
  tooFewBytes.header.width = 100000;
  PDFImageItem hugeDest = quadImage(-2000000000, -2000000000, 2000000000);
  hugeDest.destWidth = INT32_MAX;
  PDFImageItem topDown = quadImage(0, 0, 50);
  topDown.header.height = -2;
  PDFImageItem wrongDepth = quadImage(0, 0, 50);
  wrongDepth.header.bitCount = 24;
  PDFTextItem overCount = glyph(900);
  overCount.count = 1000;
  overCount.size = INT32_MAX;
  PDFTextItem negative = glyph(-3600);
  negative.size = -20;
  negative.advance = -7;
  record.items = {
      PDFPageItem::image(tooFewBytes),
      PDFPageItem::image(hugeDest),
      PDFPageItem::image(wrongDepth),
      PDFPageItem::image(topDown),
      PDFPageItem::text(overCount),
      PDFPageItem::text(negative),
      PDFPageItem::polygon({{{1, 1}}, 2, kRed}),
      PDFPageItem::polygon({{}, 7, kRed}),
      PDFPageItem::line({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, kBlue, 1}),
      PDFPageItem::clip({{}, {{40, 40, 10, 10}, {INT32_MIN, INT32_MIN, INT32_MAX, 5}}}),
      PDFPageItem::polygon(square(-10, -10, 60, 60, kGreen)),
      {PDFPageItemKind::Polygon, std::monostate{}},  // kind without its payload
  };
  auto canvas = Canvas::create(record.width, record.height);
  canvas->fill(kWhite);
  PaintPageRecord(*canvas, record);
  EXPECT_EQ(canvas->pixel(25, 2), kGreen);  // inside the valid clip rectangle
  EXPECT_EQ(canvas->pixel(25, 30), kBlue);  // the wide pen line, outside it
}

std::set<std::string> filesIn(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(PageImageTest, EachFormatLeavesOnlyItsImage) {
  const struct {
    int32_t format;
    const char* file;
    std::string magic;
  } cases[] = {
      {0, "pg_0001.png", "\x89PNG"},
      {1, "pg_0001.jpg", "\xFF\xD8\xFF"},
      {2, "pg_0001.bmp", "BM"},
      {3, "pg_0001.gif", "GIF89a"},
  };
  const PDFPageRecord record = everyKindRecord();
  for (const auto& c : cases) {
    test::ScratchDir dir("qv-page-image");
    PageImageOptions options;
    options.imagesFormat = c.format;
    const auto image = MakePageImage(record, dir / "pg_0001.htm", options);
    EXPECT_EQ(image, dir / c.file);
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{c.file}) << c.format;
    EXPECT_EQ(test::readFile(dir / c.file).substr(0, c.magic.size()), c.magic) << c.format;
  }
}

// The number of components in the frame header and the first luminance quantiser.
struct JpegFacts {
  int components = -1;
  int firstQuant = -1;
};

JpegFacts readJpegFacts(const std::string& jpeg) {
  JpegFacts facts;
  for (size_t i = 2; i + 4 < jpeg.size();) {
    if (static_cast<uint8_t>(jpeg[i]) != 0xFF) {
      break;
    }
    const auto marker = static_cast<uint8_t>(jpeg[i + 1]);
    const size_t length =
        (static_cast<uint8_t>(jpeg[i + 2]) << 8) | static_cast<uint8_t>(jpeg[i + 3]);
    if (marker == 0xDB && facts.firstQuant < 0 && i + 6 < jpeg.size()) {
      facts.firstQuant = static_cast<uint8_t>(jpeg[i + 5]);
    }
    if ((marker == 0xC0 || marker == 0xC1) && i + 9 < jpeg.size()) {
      facts.components = static_cast<uint8_t>(jpeg[i + 9]);
      break;
    }
    i += 2 + length;
  }
  return facts;
}

TEST(PageImageTest, JpegTakesQualityLowByteAndGreyOption) {
  // libjpeg scales the base luminance quantiser 16 by 5000/q % below 50, 200 - 2q % above.
  const struct {
    int32_t quality;
    int32_t grayScale;
    int components;
    int firstQuant;
  } cases[] = {
      {50, 1, 3, 16},
      {0x100 + 90, 1, 3, 3},  // only the low byte counts
      {50, 0, 1, 16},         // 0 asks for grey
  };
  const PDFPageRecord record = everyKindRecord();
  for (const auto& c : cases) {
    test::ScratchDir dir("qv-page-jpeg");
    PageImageOptions options;
    options.imagesFormat = 1;
    options.jpegQuality = c.quality;
    options.jpegGrayScale = c.grayScale;
    const auto image = MakePageImage(record, dir / "pg_0002.htm", options);
    ASSERT_EQ(image, dir / "pg_0002.jpg");
    const JpegFacts facts = readJpegFacts(test::readFile(image));
    EXPECT_EQ(facts.components, c.components) << c.quality << " " << c.grayScale;
    EXPECT_EQ(facts.firstQuant, c.firstQuant) << c.quality << " " << c.grayScale;
  }
}

TEST(PageImageTest, NoImageForEmptyPageOrUnwritableFolder) {
  test::ScratchDir dir("qv-page-none");
  PDFPageRecord empty = everyKindRecord();
  empty.width = 0;
  for (int32_t format : {0, 1, 2, 3}) {
    PageImageOptions options;
    options.imagesFormat = format;
    EXPECT_TRUE(MakePageImage(empty, dir / "pg_0001.htm", options).empty()) << format;
    EXPECT_TRUE(MakePageImage(everyKindRecord(), dir / "missing" / "pg_0001.htm", options).empty())
        << format;
  }
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(PageImageTest, BackgroundFillsThePage) {
  test::ScratchDir dir("qv-page-bg");
  PDFPageRecord record;
  record.width = 3;
  record.height = 2;
  PageImageOptions options;
  options.imagesFormat = 2;
  options.background = 0x00336699;  // red 0x99, green 0x66, blue 0x33
  const auto image = MakePageImage(record, dir / "pg_0001.htm", options);
  ASSERT_FALSE(image.empty());
  const std::string bmp = test::readFile(image);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(bmp.substr(54, 3), "\x33\x66\x99");
}

}  // namespace
}  // namespace qv
