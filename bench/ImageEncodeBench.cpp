// Encoding one 612 x 792 page image (white with text-like strokes and a photo block) with
// CImageBuffer as PNG, JPEG and GIF, next to libpng and libjpeg called directly on the same
// pixels.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

#include "image/CImageBuffer.h"

namespace {

constexpr int32_t kWidth = 612;
constexpr int32_t kHeight = 792;

void paintPage(qv::CImageBuffer& image) {
  image.create(kWidth, kHeight, 24);
  for (int32_t y = 0; y < kHeight; ++y) {
    uint8_t* row = image.row(kHeight - 1 - y);
    for (int32_t x = 0; x < kWidth; ++x) {
      uint8_t r = 255, g = 255, b = 255;
      if (x >= 300 && x < 560 && y >= 420 && y < 640) {
        const int u = x - 300, v = y - 420;
        r = static_cast<uint8_t>(u * 255 / 260);
        g = static_cast<uint8_t>(v * 255 / 220);
        b = static_cast<uint8_t>(128 + 60 * std::sin(u / 9.0) * std::cos(v / 7.0));
      } else if (x >= 54 && x < 558 && y >= 60 && y < 400 && y % 14 >= 3 && y % 14 < 12 &&
                 (x / 9 + y / 14) % 7 != 0) {
        const int glyph = x % 9;
        if (glyph == 2 || glyph == 5 || (y % 14 == 3 && glyph > 1 && glyph < 6)) {
          r = g = b = 20;
        } else if (glyph == 1 || glyph == 6) {
          r = g = b = 170;
        }
      }
      row[3 * x] = b;
      row[3 * x + 1] = g;
      row[3 * x + 2] = r;
    }
  }
}

std::filesystem::path outFile(const char* name) {
  return std::filesystem::temp_directory_path() / name;
}

void setSize(benchmark::State& state, const std::filesystem::path& file) {
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_CImageBufferPng(benchmark::State& state) {
  qv::CImageBuffer image;
  paintPage(image);
  const auto file = outFile("qv-bench.png");
  for (auto _ : state) {
    benchmark::DoNotOptimize(image.saveFile(file, qv::ImageFormat::Png));
  }
  setSize(state, file);
}
BENCHMARK(BM_CImageBufferPng)->Unit(benchmark::kMillisecond);

void BM_CImageBufferJpeg90(benchmark::State& state) {
  qv::CImageBuffer image;
  paintPage(image);
  const auto file = outFile("qv-bench.jpg");
  for (auto _ : state) {
    benchmark::DoNotOptimize(image.saveFile(file, qv::ImageFormat::Jpeg));
  }
  setSize(state, file);
}
BENCHMARK(BM_CImageBufferJpeg90)->Unit(benchmark::kMillisecond);

// The page-image path: reduce the 24-bit page to the standard palette, then write the GIF.
void BM_CImageBufferReduceAndGif(benchmark::State& state) {
  const auto file = outFile("qv-bench.gif");
  for (auto _ : state) {
    qv::CImageBuffer image;
    paintPage(image);
    image.reduceTo8Bit();
    benchmark::DoNotOptimize(image.saveFile(file, qv::ImageFormat::Gif));
  }
  setSize(state, file);
}
BENCHMARK(BM_CImageBufferReduceAndGif)->Unit(benchmark::kMillisecond);

void BM_CImageBufferGifOnly(benchmark::State& state) {
  qv::CImageBuffer image;
  paintPage(image);
  image.reduceTo8Bit();
  const auto file = outFile("qv-bench.gif");
  for (auto _ : state) {
    benchmark::DoNotOptimize(image.saveFile(file, qv::ImageFormat::Gif));
  }
  setSize(state, file);
}
BENCHMARK(BM_CImageBufferGifOnly)->Unit(benchmark::kMillisecond);

void BM_PaintPageOnly(benchmark::State& state) {
  for (auto _ : state) {
    qv::CImageBuffer image;
    paintPage(image);
    benchmark::DoNotOptimize(image.row(0));
  }
}
BENCHMARK(BM_PaintPageOnly)->Unit(benchmark::kMillisecond);

// libpng's simplified API on the same bottom-up BGR rows.
void BM_LibpngDirect(benchmark::State& state) {
  qv::CImageBuffer image;
  paintPage(image);
  const auto file = outFile("qv-bench-direct.png");
  for (auto _ : state) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = kWidth;
    png.height = kHeight;
    png.format = PNG_FORMAT_BGR;
    // A negative stride means bottom-up rows starting at the buffer's first byte.
    const uint8_t* top = image.row(0);
    benchmark::DoNotOptimize(png_image_write_to_file(
        &png, file.c_str(), 0, top, -static_cast<png_int_32>(image.stride()), nullptr));
  }
  setSize(state, file);
}
BENCHMARK(BM_LibpngDirect)->Unit(benchmark::kMillisecond);

// libjpeg with its stdio destination, the same quality and RGB rows.
void BM_LibjpegDirect(benchmark::State& state) {
  qv::CImageBuffer image;
  paintPage(image);
  const auto file = outFile("qv-bench-direct.jpg");
  std::vector<JSAMPLE> rgb(kWidth * 3);
  for (auto _ : state) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, FALSE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      const uint8_t* src = image.row(kHeight - 1 - static_cast<int32_t>(cinfo.next_scanline));
      for (int32_t x = 0; x < kWidth; ++x) {
        rgb[3 * x] = src[3 * x + 2];
        rgb[3 * x + 1] = src[3 * x + 1];
        rgb[3 * x + 2] = src[3 * x];
      }
      JSAMPROW row = rgb.data();
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
  }
  setSize(state, file);
}
BENCHMARK(BM_LibjpegDirect)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
