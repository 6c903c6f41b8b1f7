// Painting and encoding one letter-sized page record of 2,000 mixed items: polygons, pen
// lines, clip changes, two stretched images and 50 rotated glyphs.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "extract/PageImage.h"
#include "platform/Canvas.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

PDFImageItem makeImage(int32_t w, int32_t h, int32_t x, int32_t y, int32_t dw, int32_t dh) {
  PDFImageItem image;
  image.header.width = w;
  image.header.height = h;
  image.header.sizeImage = static_cast<uint32_t>(w * h * 4);
  image.destX = x;
  image.destY = y;
  image.destWidth = dw;
  image.destHeight = dh;
  image.pixels.resize(static_cast<size_t>(w) * h * 4);
  for (int32_t row = 0; row < h; ++row) {
    for (int32_t col = 0; col < w; ++col) {
      uint8_t* p = &image.pixels[(static_cast<size_t>(row) * w + col) * 4];
      p[0] = static_cast<uint8_t>(col * 255 / w);
      p[1] = static_cast<uint8_t>(row * 255 / h);
      p[2] = static_cast<uint8_t>((col + row) & 0xFF);
      if ((col / 8 + row / 8) % 5 == 0) {
        p[0] = p[1] = p[2] = 255;  // see-through squares
      }
    }
  }
  return image;
}

PDFPageRecord makeRecord() {
  std::mt19937 random(12345);
  auto coord = [&](int32_t limit) { return static_cast<int32_t>(random() % limit); };
  auto color = [&] { return static_cast<uint32_t>(random() & 0x00FFFFFF); };

  PDFPageRecord record;
  record.width = 612;
  record.height = 792;
  record.items.push_back(PDFPageItem::clip({{0, 0, 612, 792}, {{0, 0, 612, 792}}}));
  record.items.push_back(PDFPageItem::image(makeImage(200, 150, 40, 60, 300, 220)));
  record.items.push_back(PDFPageItem::image(makeImage(64, 64, 380, 420, 160, 160)));
  const char16_t glyphs[] = u"Rotated labels 0123456789";
  int glyphCount = 0;
  while (record.items.size() < 2000) {
    const size_t i = record.items.size();
    if (i % 38 == 0 && glyphCount < 50) {
      PDFTextItem text;
      text.x = 20 + coord(560);
      text.y = 40 + coord(720);
      text.text.assign(1, glyphs[glyphCount % 25]);
      text.count = 1;
      text.fontName = glyphCount % 2 ? "Times New Roman" : "Arial";
      text.size = 8 + coord(16);
      text.orientation = glyphCount % 3 == 0 ? 900 : 450;
      text.color = color();
      record.items.push_back(PDFPageItem::text(std::move(text)));
      ++glyphCount;
    } else if (i % 250 == 0) {
      const int32_t l = coord(300);
      const int32_t t = coord(400);
      record.items.push_back(PDFPageItem::clip(
          {{l, t, l + 300, t + 390}, {{l, t, l + 300, t + 200}, {l, t + 200, l + 150, t + 390}}}));
    } else if (i % 250 == 125) {
      record.items.push_back(PDFPageItem::removeClip());
    } else if (i % 2 == 0) {
      PDFPolygonItem polygon;
      const int32_t cx = coord(612);
      const int32_t cy = coord(792);
      const int corners = 3 + coord(10);
      const double radius = 5 + coord(40);
      for (int k = 0; k < corners; ++k) {
        const double a = k * 2 * M_PI / corners;
        polygon.points.push_back({cx + static_cast<int32_t>(radius * std::cos(a)),
                                  cy + static_cast<int32_t>(radius * std::sin(a))});
      }
      polygon.fillMode = 1 + coord(2);
      polygon.color = color();
      record.items.push_back(PDFPageItem::polygon(std::move(polygon)));
    } else {
      const int32_t x = coord(612);
      const int32_t y = coord(792);
      PDFLineItem line{x,
                       y,
                       x + coord(120) - 60,
                       y + (i % 3 == 0 ? 0 : coord(120) - 60),
                       1 + coord(3),
                       color(),
                       coord(6) == 0 ? 1 : 0};
      record.items.push_back(PDFPageItem::line(line));
    }
  }
  return record;
}

void BM_PaintOnly(benchmark::State& state) {
  const PDFPageRecord record = makeRecord();
  for (auto _ : state) {
    auto canvas = Canvas::create(record.width, record.height);
    canvas->fill(0x00FFFFFF);
    PaintPageRecord(*canvas, record);
    benchmark::DoNotOptimize(canvas->pixel(300, 300));
  }
}
BENCHMARK(BM_PaintOnly)->Unit(benchmark::kMillisecond);

// The whole page image step: paint, write the BMP, read it back, encode, delete the BMP.
void BM_PaintAndEncode(benchmark::State& state) {
  const PDFPageRecord record = makeRecord();
  test::ScratchDir dir("qv-bench-page");
  PageImageOptions options;
  options.imagesFormat = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    const auto image = MakePageImage(record, dir / "pg_0001.htm", options);
    if (image.empty()) {
      state.SkipWithError("no page image");
      break;
    }
  }
  static const char* const kNames[] = {"png", "jpg", "bmp", "gif"};
  state.SetLabel(kNames[state.range(0) & 3]);
}
BENCHMARK(BM_PaintAndEncode)->Arg(0)->Arg(1)->Arg(3)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
