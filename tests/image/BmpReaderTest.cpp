#include "image/BmpReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "ImageTestSupport.h"
#include "image/CImageBuffer.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using test::Rgb;
using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// A bitmap file: file header, information header of `headerSize` bytes (12, 40 or 124),
// optional masks after a 40-byte header, palette, then `pixels` as stored.
struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  std::vector<Rgb> palette;
  std::vector<uint32_t> masks;  // red, green, blue (written after a 40-byte header)
  Bytes pixels;
  int64_t dataOffset = -1;  // -1: right after the palette
};

Bytes buildBmp(const BmpLayout& s) {
  Bytes info;
  put32(info, s.headerSize);
  if (s.headerSize == 12) {
    put16(info, uint32_t(s.width));
    put16(info, uint32_t(s.height));
    put16(info, 1);
    put16(info, uint32_t(s.bits));
  } else {
    put32(info, uint32_t(s.width));
    put32(info, uint32_t(s.height));
    put16(info, 1);
    put16(info, uint32_t(s.bits));
    put32(info, s.compression);
    put32(info, uint32_t(s.pixels.size()));
    put32(info, 2835);
    put32(info, 2835);
    put32(info, uint32_t(s.palette.size()));
    put32(info, 0);
    if (s.headerSize > 40) {
      for (uint32_t m : s.masks) {
        put32(info, m);
      }
      info.resize(s.headerSize, 0);
    } else {
      for (uint32_t m : s.masks) {
        put32(info, m);
      }
    }
  }
  for (const Rgb& c : s.palette) {
    info.push_back(c[2]);
    info.push_back(c[1]);
    info.push_back(c[0]);
    if (s.headerSize != 12) {
      info.push_back(0);
    }
  }
  Bytes file{'B', 'M'};
  const uint32_t offset = s.dataOffset >= 0 ? uint32_t(s.dataOffset) : uint32_t(14 + info.size());
  put32(file, uint32_t(14 + info.size() + s.pixels.size()));
  put32(file, 0);
  put32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

struct Loaded {
  bool ok;
  std::string error;
  CImageBuffer image;
};

std::unique_ptr<Loaded> load(const Bytes& bytes, ImageFormat format = ImageFormat::Bmp) {
  test::ScratchDir dir("qv-bmp");
  const auto file = dir / "in.bmp";
  test::writeFile(file, std::string(bytes.begin(), bytes.end()));
  auto result = std::make_unique<Loaded>();
  result->ok = result->image.loadFile(file, format);
  result->error = result->image.lastError();
  return result;
}

const Rgb kColours[4] = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
constexpr int32_t kW = 5, kH = 3;
int colourAt(int32_t x, int32_t y) {
  return (x + 2 * y) % 4;
}  // y from the top

// Stores the 5 x 3 test picture in the given depth, rows in file order.
Bytes storePixels(int bits, bool topDown) {
  const uint32_t stride = ((kW * bits + 31) / 32) * 4;
  Bytes out;
  for (int32_t i = 0; i < kH; ++i) {
    const int32_t y = topDown ? i : kH - 1 - i;
    Bytes row(stride, 0);
    for (int32_t x = 0; x < kW; ++x) {
      const int k = colourAt(x, y);
      const Rgb& c = kColours[k];
      switch (bits) {
        case 1:
          row[x / 8] |= uint8_t((k & 1) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= uint8_t(k << ((x & 1) ? 0 : 4));
          break;
        case 8:
          row[x] = uint8_t(k);
          break;
        case 16: {
          const uint32_t v = (c[0] >> 3) << 10 | (c[1] >> 3) << 5 | (c[2] >> 3);
          row[2 * x] = uint8_t(v), row[2 * x + 1] = uint8_t(v >> 8);
          break;
        }
        case 24:
          row[3 * x] = c[2], row[3 * x + 1] = c[1], row[3 * x + 2] = c[0];
          break;
        case 32:
          row[4 * x] = c[2], row[4 * x + 1] = c[1], row[4 * x + 2] = c[0], row[4 * x + 3] = 0x77;
          break;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

TEST(BmpReader, UncompressedDepthsBothRowOrders) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    for (bool topDown : {false, true}) {
      BmpLayout layout;
      layout.width = kW;
      layout.height = topDown ? -kH : kH;
      layout.bits = bits;
      if (bits == 1) {
        layout.palette = {kColours[0], kColours[1]};
      } else if (bits <= 8) {
        layout.palette.assign(std::begin(kColours), std::end(kColours));
      }
      layout.pixels = storePixels(bits, topDown);
      auto loaded = load(buildBmp(layout));
      ASSERT_TRUE(loaded->ok) << bits << " " << topDown << ": " << loaded->error;
      const CImageBuffer& image = loaded->image;
      EXPECT_EQ(image.bitsPerPixel(), bits <= 8 ? bits : 24);
      EXPECT_EQ(image.width(), kW);
      EXPECT_EQ(image.height(), kH);
      EXPECT_EQ(image.xDpi(), 72);
      for (int32_t y = 0; y < kH; ++y) {
        for (int32_t x = 0; x < kW; ++x) {
          const int k = bits == 1 ? colourAt(x, y) & 1 : colourAt(x, y);
          EXPECT_EQ(test::pixelAt(image, x, y), kColours[k])
              << bits << " bits, top-down " << topDown << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(BmpReader, BitFieldsAndOtherHeaders) {
  // 16-bit 5-6-5 masks after a 40-byte header: mid values scale to 8 bits.
  BmpLayout rgb565;
  rgb565.width = 2, rgb565.height = 1, rgb565.bits = 16, rgb565.compression = 3;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = {0xFF, 0xFF, 0x10, 0x84};  // white; (16/31, 32/63, 16/31)
  auto a = load(buildBmp(rgb565));
  ASSERT_TRUE(a->ok) << a->error;
  EXPECT_EQ(test::pixelAt(a->image, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(test::pixelAt(a->image, 1, 0), (Rgb{132, 130, 132}));

  // 32-bit with masks in a 124-byte header, red in the top byte.
  BmpLayout v5;
  v5.width = 1, v5.height = 1, v5.bits = 32, v5.compression = 3, v5.headerSize = 124;
  v5.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
  v5.pixels = {0x00, 0x30, 0x20, 0x10};
  auto b = load(buildBmp(v5));
  ASSERT_TRUE(b->ok) << b->error;
  EXPECT_EQ(test::pixelAt(b->image, 0, 0), (Rgb{0x10, 0x20, 0x30}));

  // OS/2 header with a 3-byte palette.
  BmpLayout core;
  core.width = 2, core.height = 1, core.bits = 8, core.headerSize = 12;
  core.palette.assign(256, Rgb{0, 0, 0});
  core.palette[7] = {1, 2, 3};
  core.pixels = {7, 0, 0, 0};
  auto c = load(buildBmp(core));
  ASSERT_TRUE(c->ok) << c->error;
  EXPECT_EQ(test::pixelAt(c->image, 0, 0), (Rgb{1, 2, 3}));
}

TEST(BmpReader, RunLengthForms) {
  const Rgb p[4] = {{0, 0, 0}, {10, 10, 10}, {20, 20, 20}, {30, 30, 30}};
  // 4 x 3 picture, stored rows bottom first; expected rows given top first.
  const struct {
    int bits;
    Bytes data;
    int expected[3][4];
  } cases[] = {
      {8,
       {0x04, 0x01, 0x00, 0x00,              // bottom: run of four 1
        0x00, 0x03, 0x02, 0x03, 0x02, 0x00,  // absolute 2 3 2 (padded)
        0x01, 0x01, 0x00, 0x00,              // then one 1, end of line
        0x00, 0x02, 0x01, 0x00, 0x02, 0x03,  // top: skip one, two 3
        0x00, 0x01},                         // end of bitmap
       {{0, 3, 3, 0}, {2, 3, 2, 1}, {1, 1, 1, 1}}},
      {4,
       {0x04, 0x12, 0x00, 0x00,              // bottom: 1 2 1 2
        0x00, 0x03, 0x31, 0x20, 0x01, 0x30,  // absolute 3 1 2, run of one 3
        0x00, 0x00,                          // end of line
        0x06, 0x23,                          // top: run clipped at the width
        0x00, 0x01},
       {{2, 3, 2, 3}, {3, 1, 2, 3}, {1, 2, 1, 2}}},
  };
  for (const auto& c : cases) {
    BmpLayout layout;
    layout.width = 4, layout.height = 3, layout.bits = c.bits;
    layout.compression = c.bits == 8 ? 1 : 2;
    layout.palette.assign(std::begin(p), std::end(p));
    layout.pixels = c.data;
    auto loaded = load(buildBmp(layout));
    ASSERT_TRUE(loaded->ok) << c.bits << ": " << loaded->error;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(test::pixelAt(loaded->image, x, y), p[c.expected[y][x]])
            << "RLE" << c.bits << " at " << x << "," << y;
      }
    }
  }
}

TEST(BmpReader, DamagedAndHostileFiles) {
  auto layout = [](auto change) {
    BmpLayout s;
    s.width = 2, s.height = 2, s.bits = 24;
    s.pixels.assign(16, 0x55);
    change(s);
    return buildBmp(s);
  };
  auto truncate = [](Bytes b, size_t size) {
    b.resize(size);
    return b;
  };
  const Bytes good = layout([](BmpLayout&) {});
  const struct {
    const char* name;
    Bytes bytes;
    const char* error;
  } cases[] = {
      {"gif signature", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0}, "Not a BMP"},
      {"empty file", {}, "Not a BMP"},
      {"file header only", truncate(good, 14), "Error reading BMP info"},
      {"info header cut", truncate(good, 30), "Error reading BMP info"},
      {"bad header size", layout([](BmpLayout& s) { s.headerSize = 7; }), "Error reading BMP info"},
      {"zero width", layout([](BmpLayout& s) { s.width = 0; }), "Error reading BMP info"},
      {"odd depth", layout([](BmpLayout& s) { s.bits = 7; }), "Error reading BMP info"},
      {"palette cut",
       truncate(layout([](BmpLayout& s) {
                  s.bits = 8;
                  s.palette.assign(256, Rgb{});
                }),
                100),
       "Error reading BMP info"},
      {"jpeg payload", layout([](BmpLayout& s) { s.compression = 4; }),
       "compression type not supported"},
      {"rle8 on 24 bits", layout([](BmpLayout& s) { s.compression = 1; }),
       "compression type not supported"},
      {"compression 99", layout([](BmpLayout& s) { s.compression = 99; }), "unknown compression"},
      {"pixels cut", truncate(good, good.size() - 1), "Error reading BMP data"},
      {"offset past the end", layout([](BmpLayout& s) { s.dataOffset = 1 << 20; }),
       "Error reading BMP data"},
      {"offset inside the header", layout([](BmpLayout& s) { s.dataOffset = 20; }),
       "Error reading BMP data"},
      {"huge uncompressed claim", layout([](BmpLayout& s) { s.width = s.height = 1 << 30; }),
       "Error reading BMP data"},
      {"huge run-length claim", layout([](BmpLayout& s) {
         s.width = s.height = 1 << 30, s.bits = 8, s.compression = 1;
         s.palette.assign(2, Rgb{});
         s.pixels = {0, 1};
       }),
       "Memory not available"},
      {"run-length without its end", layout([](BmpLayout& s) {
         s.bits = 8, s.compression = 1;
         s.palette.assign(2, Rgb{});
         s.pixels = {2, 1, 0, 0, 2};
       }),
       "Error reading BMP data"},
      {"absolute run cut", layout([](BmpLayout& s) {
         s.bits = 8, s.compression = 1;
         s.palette.assign(2, Rgb{});
         s.pixels = {0, 200, 1, 2};
       }),
       "Error reading BMP data"},
  };
  for (const auto& c : cases) {
    auto loaded = load(c.bytes);
    EXPECT_FALSE(loaded->ok) << c.name;
    EXPECT_EQ(loaded->error, c.error) << c.name;
    EXPECT_FALSE(loaded->image.isValid()) << c.name;
  }
}

TEST(BmpReader, FormatFallbackKeepsTheFirstMessage) {
  const Bytes notBmp = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_EQ(load(notBmp, ImageFormat::Bmp)->error, "Not a BMP");
  EXPECT_EQ(load(notBmp, ImageFormat::Any)->error, "Decode: Unknown or wrong format");

  // A bitmap named with another format is still read through the fallback.
  BmpLayout s;
  s.width = 1, s.height = 1, s.bits = 24, s.pixels = {1, 2, 3, 0};
  auto loaded = load(buildBmp(s), ImageFormat::Png);
  ASSERT_TRUE(loaded->ok);
  EXPECT_EQ(loaded->image.loadedFormat(), ImageFormat::Bmp);

  CImageBuffer image;
  EXPECT_FALSE(image.loadFile("/nonexistent/qv.bmp", ImageFormat::Bmp));
  EXPECT_FALSE(image.lastError().empty());
}

// Bitmaps written by an independent program (ImageMagick) read back as their source.
TEST(BmpReader, ReadsFilesOfAnotherWriter) {
  if (!test::haveTool("convert")) {
    GTEST_SKIP() << "ImageMagick convert not installed";
  }
  test::ScratchDir dir("qv-bmp");
  const int32_t w = 37, h = 23;
  auto colour = [](int32_t x, int32_t y) {
    const Rgb set[5] = {{255, 255, 255}, {0, 0, 0}, {200, 30, 40}, {20, 90, 220}, {128, 128, 0}};
    return set[(x / 3 + y / 4) % 5];
  };
  {
    std::ofstream ppm(dir / "src.ppm", std::ios::binary);
    ppm << "P6\n" << w << " " << h << "\n255\n";
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const Rgb c = colour(x, y);
        ppm.write(reinterpret_cast<const char*>(c.data()), 3);
      }
    }
  }
  const struct {
    const char* options;
    int bits;  // 0: a palette depth of the writer's choice
  } cases[] = {{"-type TrueColor BMP3:", 24},
               {"-type Palette BMP3:", 0},
               {"-type Palette -compress RLE BMP3:", 0},
               {"-type TrueColor BMP:", 24},
               {"-type TrueColorAlpha -define bmp:format=bmp4 BMP:", 24}};
  for (const auto& c : cases) {
    const auto out = dir / "out.bmp";
    std::filesystem::remove(out);
    ASSERT_EQ(test::run("convert '" + (dir / "src.ppm").string() + "' " + c.options + "'" +
                        out.string() + "' 2>/dev/null"),
              0)
        << c.options;
    CImageBuffer image;
    ASSERT_TRUE(image.loadFile(out, ImageFormat::Bmp)) << c.options << ": " << image.lastError();
    if (c.bits) {
      EXPECT_EQ(image.bitsPerPixel(), c.bits) << c.options;
    } else {
      EXPECT_LE(image.bitsPerPixel(), 8) << c.options;
    }
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        ASSERT_EQ(test::pixelAt(image, x, y), colour(x, y)) << c.options << " " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Damaged copies of valid files (bytes changed, files cut) load or fail cleanly; under the
// sanitizer build this also checks every read stays in bounds.
TEST(BmpReader, MutatedFilesNeverCrash) {
  std::mt19937 random(3);
  const std::vector<BmpLayout> seeds = [] {
    std::vector<BmpLayout> s(3);
    s[0].width = 5, s[0].height = 3, s[0].bits = 24, s[0].pixels = storePixels(24, false);
    s[1].width = 4, s[1].height = 3, s[1].bits = 8, s[1].compression = 1;
    s[1].palette.assign(4, Rgb{9, 9, 9});
    s[1].pixels = {0x04, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x03, 0x02, 0x00, 0x00, 0x01};
    s[2].width = 4, s[2].height = 2, s[2].bits = 4, s[2].compression = 2;
    s[2].palette.assign(16, Rgb{1, 2, 3});
    s[2].pixels = {0x04, 0x12, 0x00, 0x00, 0x00, 0x03, 0x31, 0x20, 0x00, 0x01};
    return s;
  }();
  for (const BmpLayout& seed : seeds) {
    const Bytes good = buildBmp(seed);
    for (int round = 0; round < 150; ++round) {
      Bytes bytes = good;
      const int changes = 1 + int(random() % 4);
      for (int i = 0; i < changes; ++i) {
        bytes[random() % bytes.size()] = uint8_t(random());
      }
      if (round % 5 == 0) {
        bytes.resize(random() % bytes.size());
      }
      auto loaded = load(bytes);
      EXPECT_EQ(loaded->ok, loaded->image.isValid());
      EXPECT_EQ(loaded->ok, loaded->error.empty());
    }
  }
}

}  // namespace
}  // namespace qv
