#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kGrey = 0x00808080;

std::unique_ptr<Canvas> whiteCanvas(int32_t w, int32_t h, bool antialias = true) {
  auto canvas = Canvas::create(w, h);
  canvas->setAntialias(antialias);
  canvas->fill(kWhite);
  return canvas;
}

TEST(CanvasTest, RefusesEmptyAndHugeSurfaces) {
  const struct {
    int32_t w, h;
    bool ok;
  } cases[] = {
      {1, 1, true},
      {0, 10, false},
      {10, 0, false},
      {-5, 10, false},
      {Canvas::kMaxSide + 1, 1, false},
      {Canvas::kMaxSide, 1, true},
      {Canvas::kMaxSide, Canvas::kMaxSide, false},  // above the pixel bound
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Canvas::create(c.w, c.h) != nullptr, c.ok) << c.w << "x" << c.h;
  }
}

// A pentagram overlaps itself: its centre is covered twice, so even-odd leaves it empty and
// winding fills it; the points are covered once under both rules.
TEST(CanvasTest, PolygonFillRules) {
  std::vector<CanvasPoint> star;
  for (int i = 0; i < 5; ++i) {
    const double a = -M_PI / 2 + (i * 2 % 5) * 2 * M_PI / 5;
    star.push_back({static_cast<int32_t>(std::lround(50 + 45 * std::cos(a))),
                    static_cast<int32_t>(std::lround(50 + 45 * std::sin(a)))});
  }
  const struct {
    CanvasFillRule rule;
    uint32_t centre;
  } cases[] = {{CanvasFillRule::EvenOdd, kWhite}, {CanvasFillRule::Winding, kRed}};
  for (bool aa : {true, false}) {
    for (const auto& c : cases) {
      auto canvas = whiteCanvas(100, 100, aa);
      canvas->fillPolygon(star, c.rule, kRed);
      EXPECT_EQ(canvas->pixel(50, 50), c.centre) << aa;
      EXPECT_EQ(canvas->pixel(50, 15), kRed) << aa;  // the top point
      EXPECT_EQ(canvas->pixel(2, 2), kWhite) << aa;
      EXPECT_EQ(canvas->pixel(50, 97), kWhite) << aa;
    }
  }
}

TEST(CanvasTest, AxisAlignedEdgesAreExact) {
  auto canvas = whiteCanvas(40, 40);
  const CanvasPoint square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  canvas->fillPolygon(square, CanvasFillRule::Winding, kBlue);
  EXPECT_EQ(canvas->pixel(10, 10), kBlue);
  EXPECT_EQ(canvas->pixel(19, 19), kBlue);
  EXPECT_EQ(canvas->pixel(9, 10), kWhite);
  EXPECT_EQ(canvas->pixel(20, 15), kWhite);
  EXPECT_EQ(canvas->pixel(15, 20), kWhite);
}

TEST(CanvasTest, ClipLimitsDrawingToItsRectangles) {
  const CanvasPoint all[] = {{-10, -10}, {110, -10}, {110, 110}, {-10, 110}};
  const CanvasRect two[] = {{0, 0, 10, 10}, {50, 50, 60, 70}};
  auto canvas = whiteCanvas(100, 100);
  canvas->setClip(two);
  canvas->fillPolygon(all, CanvasFillRule::EvenOdd, kRed);
  canvas->drawLine({0, 30}, {100, 30}, 3, kRed, false);
  EXPECT_EQ(canvas->pixel(0, 0), kRed);
  EXPECT_EQ(canvas->pixel(9, 9), kRed);
  EXPECT_EQ(canvas->pixel(10, 9), kWhite);
  EXPECT_EQ(canvas->pixel(55, 69), kRed);
  EXPECT_EQ(canvas->pixel(55, 70), kWhite);
  EXPECT_EQ(canvas->pixel(40, 30), kWhite);

  canvas->setClip({});  // an empty region lets nothing through
  canvas->fillPolygon(all, CanvasFillRule::EvenOdd, kBlue);
  EXPECT_EQ(canvas->pixel(5, 5), kRed);
  EXPECT_EQ(canvas->pixel(30, 30), kWhite);

  canvas->removeClip();
  canvas->fillPolygon(all, CanvasFillRule::EvenOdd, kBlue);
  EXPECT_EQ(canvas->pixel(30, 30), kBlue);
}

TEST(CanvasTest, PenLinesStayCrisp) {
  const struct {
    int32_t width;
    int32_t firstRow, lastRow;  // rows fully covered by a horizontal line at y = 20
  } cases[] = {{0, 20, 20}, {1, 20, 20}, {2, 19, 20}, {3, 19, 21}, {4, 18, 21}};
  for (bool aa : {true, false}) {
    for (const auto& c : cases) {
      auto canvas = whiteCanvas(60, 40, aa);
      canvas->drawLine({10, 20}, {50, 20}, c.width, kRed, false);
      EXPECT_EQ(canvas->pixel(30, c.firstRow - 1), kWhite) << c.width;
      EXPECT_EQ(canvas->pixel(30, c.firstRow), kRed) << c.width;
      EXPECT_EQ(canvas->pixel(30, c.lastRow), kRed) << c.width;
      EXPECT_EQ(canvas->pixel(30, c.lastRow + 1), kWhite) << c.width;
    }
  }
}

TEST(CanvasTest, DashedLineHasGapsAndFarEndsAreSafe) {
  auto canvas = whiteCanvas(100, 20);
  canvas->drawLine({0, 10}, {100, 10}, 1, kRed, true);
  int painted = 0;
  for (int x = 0; x < 100; ++x) {
    painted += canvas->pixel(x, 10) == kRed;
  }
  EXPECT_GT(painted, 40);
  EXPECT_LT(painted, 90);

  canvas->drawLine({-2000000000, 5}, {2000000000, 5}, 1, kBlue, false);
  EXPECT_EQ(canvas->pixel(50, 5), kBlue);
  const CanvasPoint far[] = {{-2000000000, -2000000000}, {2000000000, 0}, {0, 2000000000}};
  canvas->fillPolygon(far, CanvasFillRule::Winding, kGrey);
  EXPECT_EQ(canvas->pixel(50, 15), kGrey);
}

// A 2x2 picture stored bottom row first: bottom row white, near-white (blue 250); top row
// red, blue.
std::vector<uint8_t> quadPixels() {
  return {255, 255, 255, 0, 250, 255, 255, 0,   // bottom: white, near-white
          0,   0,   255, 0, 255, 0,   0,   0};  // top: red, blue
}

TEST(CanvasTest, StretchedPixelsSkipOnlyTheTransparentColour) {
  const std::vector<uint8_t> bytes = quadPixels();
  auto canvas = Canvas::create(40, 40);
  canvas->fill(kGrey);
  canvas->drawPixels({bytes, 2, 2, 8, true}, {10, 10, 30, 30}, kWhite);
  EXPECT_EQ(canvas->pixel(10, 10), kRed);
  EXPECT_EQ(canvas->pixel(29, 19), kBlue);
  EXPECT_EQ(canvas->pixel(15, 25), kGrey);        // pure white left out
  EXPECT_EQ(canvas->pixel(25, 25), 0x00FAFFFFu);  // near-white painted
  EXPECT_EQ(canvas->pixel(9, 10), kGrey);
  EXPECT_EQ(canvas->pixel(30, 30), kGrey);

  // Top-down rows, a destination hanging over the edges, and too few bytes.
  auto other = Canvas::create(20, 20);
  other->fill(kGrey);
  other->drawPixels({bytes, 2, 2, 8, false}, {-10, -10, 30, 30}, kWhite);
  EXPECT_EQ(other->pixel(0, 0), kGrey);  // first stored row is now the top: white, near-white
  EXPECT_EQ(other->pixel(19, 0), 0x00FAFFFFu);
  EXPECT_EQ(other->pixel(0, 19), kRed);
  EXPECT_EQ(other->pixel(19, 19), kBlue);
  auto short_ = Canvas::create(20, 20);
  short_->fill(kGrey);
  short_->drawPixels({std::span(bytes).first(12), 2, 2, 8, true}, {0, 0, 20, 20}, kWhite);
  EXPECT_EQ(short_->pixel(15, 5), kGrey);
}

// Rotated by 90 degrees the text runs upwards from its origin and its ascent points left.
TEST(CanvasTest, RotatedTextLandsInItsBox) {
  const struct {
    int32_t escapement;
    CanvasRect box;  // where the ink of "HH" at (60, 60), height 30 must lie
  } cases[] = {
      {0, {58, 30, 110, 68}},
      {900, {30, 10, 68, 62}},
      {2700, {52, 58, 90, 110}},
  };
  for (const auto& c : cases) {
    auto canvas = whiteCanvas(120, 120);
    CanvasFont font;
    font.face = "Arial";
    font.height = 30;
    font.escapement = c.escapement;
    ASSERT_TRUE(canvas->drawText(font, {60, 60}, u"HH", 0));
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (canvas->pixel(x, y) != kWhite) {
          const bool in = x >= c.box.left && x < c.box.right && y >= c.box.top && y < c.box.bottom;
          (in ? inside : outside)++;
        }
      }
    }
    EXPECT_GT(inside, 100) << c.escapement;
    EXPECT_EQ(outside, 0) << c.escapement;
  }
}

// The average character width scales the glyphs across; 0 keeps the face's proportions.
TEST(CanvasTest, TextWidthStretchesGlyphs) {
  auto inkWidth = [](int32_t width) {
    auto canvas = whiteCanvas(200, 60);
    CanvasFont font;
    font.face = "Arial";
    font.height = 30;
    font.width = width;
    canvas->drawText(font, {10, 40}, u"HH", 0);
    int right = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (canvas->pixel(x, y) != kWhite) {
          right = std::max(right, x);
        }
      }
    }
    return right - 10;
  };
  const int natural = inkWidth(0);
  EXPECT_GT(natural, 30);
  // Twice the face's own average width at this height doubles the run.
  FontFaceCache cache;
  const FontFaceMetrics metrics = cache.find("Arial", false, false)->metrics;
  const auto doubled =
      static_cast<int32_t>(std::lround(2 * metrics.avgCharWidth * 30 / metrics.cellHeight));
  EXPECT_NEAR(inkWidth(doubled), 2 * natural, 3);
}

TEST(CanvasTest, TextWithoutUsableSizeIsNotDrawn) {
  auto canvas = whiteCanvas(50, 50);
  CanvasFont font;
  font.face = "Nonexistent Face 123";
  font.height = 0;
  EXPECT_FALSE(canvas->drawText(font, {10, 40}, u"A", 0));
  font.height = Canvas::kMaxTextHeight + 1;
  EXPECT_FALSE(canvas->drawText(font, {10, 40}, u"A", 0));
  font.height = 20;  // an unknown face still draws with a substitute
  EXPECT_TRUE(canvas->drawText(font, {10, 40}, u"A\xD800", 0));
}

TEST(CanvasTest, WindowsFacesUseLiberation) {
  EXPECT_EQ(FontFaceCache::substituteFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(FontFaceCache::substituteFamily("times new roman"), "Liberation Serif");
  EXPECT_EQ(FontFaceCache::substituteFamily("Courier New"), "Liberation Mono");
  EXPECT_EQ(FontFaceCache::substituteFamily("Verdana"), "Verdana");
  EXPECT_EQ(FontFaceCache::substituteFamily("@Arial"), "Liberation Sans");
  EXPECT_EQ(FontFaceCache::substituteFamily("@"), "@");
  // Liberation Sans has the Windows cell height of Arial: (1854 + 434) / 2048 em.
  FontFaceCache cache;
  const FontFaceCache::Entry* arial = cache.find("Arial", false, false);
  ASSERT_NE(arial, nullptr);
  EXPECT_NEAR(arial->metrics.cellHeight, 2288.0 / 2048, 1e-6);
}

uint32_t le32(const std::string& s, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

TEST(CanvasTest, SavesBottomUpPaddedBmp) {
  test::ScratchDir dir("qv-canvas");
  auto canvas = whiteCanvas(3, 2);
  const CanvasPoint topLeft[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  canvas->fillPolygon(topLeft, CanvasFillRule::Winding, kRed);
  ASSERT_TRUE(canvas->saveBmp(dir / "out.bmp"));
  const std::string bmp = test::readFile(dir / "out.bmp");
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(le32(bmp, 2), bmp.size());
  EXPECT_EQ(le32(bmp, 10), 54u);
  EXPECT_EQ(le32(bmp, 14), 40u);
  EXPECT_EQ(le32(bmp, 18), 3u);
  EXPECT_EQ(le32(bmp, 22), 2u);
  EXPECT_EQ(bmp[28], 24);
  // The bottom row comes first; the top-left pixel starts the second row, blue first.
  EXPECT_EQ(bmp.substr(54, 3), std::string("\xFF\xFF\xFF"));
  EXPECT_EQ(bmp.substr(66, 3), std::string("\x00\x00\xFF", 3));

  EXPECT_FALSE(canvas->saveBmp(dir / "missing" / "out.bmp"));
}

}  // namespace
}  // namespace qv
