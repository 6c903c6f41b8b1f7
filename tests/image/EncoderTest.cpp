// The encoders checked against independent decoders: Pillow for PNG and GIF, libjpeg's
// djpeg for JPEG. The files are also taken apart here to check their chunks and blocks.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ImageTestSupport.h"
#include "image/CImageBuffer.h"
#include "image/Palette.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using test::Rgb;
using Bytes = std::vector<uint8_t>;

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}
uint32_t le16(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

// PNG chunks by type (the data of the last chunk of each type).
std::map<std::string, Bytes> pngChunks(const Bytes& file) {
  std::map<std::string, Bytes> chunks;
  size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const uint32_t length = be32(&file[pos]);
    const std::string type(file.begin() + pos + 4, file.begin() + pos + 8);
    if (pos + 12 + length > file.size()) {
      break;
    }
    chunks[type] = Bytes(file.begin() + pos + 8, file.begin() + pos + 8 + length);
    pos += 12 + length;
  }
  return chunks;
}

// Makes a paletted image of the given depth with entries i = (i*40 % 256, i*90 % 256, i*7)
// and pixel indices from `index`.
void fillPaletted(CImageBuffer& image, int32_t w, int32_t h, int bits,
                  const std::function<int(int32_t, int32_t)>& index) {
  ASSERT_TRUE(image.create(w, h, bits));
  auto palette = image.palette();
  for (size_t i = 0; i < palette.size(); ++i) {
    palette[i] = PaletteEntry{uint8_t(i * 7), uint8_t(i * 90), uint8_t(i * 40), 0};
  }
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = image.row(h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      const int k = index(x, y);
      if (bits == 8) {
        row[x] = uint8_t(k);
      } else if (bits == 4) {
        row[x / 2] |= uint8_t(k << ((x & 1) ? 0 : 4));
      } else {
        row[x / 8] |= uint8_t(k << (7 - x % 8));
      }
    }
  }
}

void expectDecodesTo(const std::string& python, const std::filesystem::path& file,
                     const CImageBuffer& image, const std::string& what) {
  const Bytes rgb = test::decodeWithPillow(python, file);
  ASSERT_EQ(rgb.size(), size_t(image.width()) * image.height() * 3) << what;
  for (int32_t y = 0; y < image.height(); ++y) {
    for (int32_t x = 0; x < image.width(); ++x) {
      const uint8_t* p = &rgb[(size_t(y) * image.width() + x) * 3];
      ASSERT_EQ((Rgb{p[0], p[1], p[2]}), test::pixelAt(image, x, y))
          << what << " at " << x << "," << y;
    }
  }
}

class EncoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto python = test::pillowPython();
    if (!python) {
      GTEST_SKIP() << "python3 with Pillow not installed";
    }
    python_ = *python;
  }
  std::string python_;
  test::ScratchDir dir_{"qv-encode"};
};

TEST_F(EncoderTest, PngDecodesToTheSourcePixels) {
  struct Case {
    const char* name;
    std::function<void(CImageBuffer&)> make;
    bool interlaced;
  };
  const Case cases[] = {
      {"rgb", [](CImageBuffer& i) { test::fillRgb(i, 61, 47, test::pageColour); }, false},
      {"rgb interlaced", [](CImageBuffer& i) { test::fillRgb(i, 61, 47, test::pageColour); }, true},
      {"8-bit",
       [](CImageBuffer& i) { fillPaletted(i, 33, 9, 8, [](int x, int y) { return x * y % 256; }); },
       false},
      {"4-bit",
       [](CImageBuffer& i) {
         fillPaletted(i, 13, 5, 4, [](int x, int y) { return (x + y) % 16; });
       },
       false},
      {"1-bit",
       [](CImageBuffer& i) { fillPaletted(i, 17, 3, 1, [](int x, int y) { return (x ^ y) & 1; }); },
       false},
  };
  for (const auto& c : cases) {
    CImageBuffer image;
    c.make(image);
    image.setCodecOptions(ImageFormat::Png, c.interlaced ? kPngInterlaced : 0);
    const auto file = dir_ / "out.png";
    ASSERT_TRUE(image.saveFile(file, ImageFormat::Png)) << c.name << ": " << image.lastError();
    expectDecodesTo(python_, file, image, c.name);
    const auto chunks = pngChunks(test::readBytes(file));
    ASSERT_EQ(chunks.count("IHDR"), 1u) << c.name;
    EXPECT_EQ(chunks.at("IHDR")[12], c.interlaced ? 1 : 0) << c.name;
    EXPECT_EQ(chunks.count("bKGD"), 1u) << c.name;
    ASSERT_EQ(chunks.count("pHYs"), 1u) << c.name;
    EXPECT_EQ(be32(chunks.at("pHYs").data()), 3780u) << c.name;  // 96 dots per inch
    EXPECT_EQ(chunks.at("pHYs")[8], 1) << c.name;                // per metre
  }
}

TEST_F(EncoderTest, PngPaletteIsCutForSmallImages) {
  const struct {
    int32_t width, height;
    int highestIndex;
    size_t entries;
  } cases[] = {{10, 10, 5, 6}, {10, 10, 0, 1}, {256, 256, 5, 256}, {255, 257, 9, 10}};
  for (const auto& c : cases) {
    CImageBuffer image;
    fillPaletted(image, c.width, c.height, 8,
                 [&](int x, int y) { return (x == 3 && y == 2) ? c.highestIndex : 0; });
    image.setResolution(72, 72);
    const auto file = dir_ / "pal.png";
    ASSERT_TRUE(image.saveFile(file, ImageFormat::Png)) << image.lastError();
    const auto chunks = pngChunks(test::readBytes(file));
    EXPECT_EQ(chunks.at("PLTE").size(), c.entries * 3) << c.width << "x" << c.height;
    EXPECT_EQ(chunks.at("IHDR")[9], 3);  // palette colour
    EXPECT_LT(chunks.at("bKGD")[0], c.entries);
    EXPECT_EQ(be32(chunks.at("pHYs").data()), 2835u);
    expectDecodesTo(python_, file, image, "cut palette");
  }
  // A transparent index becomes tRNS instead of a background.
  CImageBuffer image;
  fillPaletted(image, 4, 4, 8, [](int x, int) { return x; });
  image.setTransparentIndex(2);
  ASSERT_TRUE(image.saveFile(dir_ / "t.png", ImageFormat::Png));
  const auto chunks = pngChunks(test::readBytes(dir_ / "t.png"));
  EXPECT_EQ(chunks.count("bKGD"), 0u);
  EXPECT_EQ(chunks.at("tRNS"), (Bytes{255, 255, 0}));
}

TEST_F(EncoderTest, GifDecodesToTheNearestPaletteColours) {
  // A page reduced to the standard palette, saved both after reduceTo8Bit and directly.
  CImageBuffer page;
  test::fillRgb(page, 612, 120, [](int32_t x, int32_t y) { return test::pageColour(x, y + 380); });
  CImageBuffer reduced;
  test::fillRgb(reduced, 612, 120,
                [](int32_t x, int32_t y) { return test::pageColour(x, y + 380); });
  ASSERT_TRUE(reduced.reduceTo8Bit());
  const auto& palette = standardPalette();
  for (int32_t y = 0; y < 120; y += 7) {
    for (int32_t x = 0; x < 612; x += 5) {
      const Rgb src = test::pixelAt(page, x, y);
      const PaletteEntry& e = palette[nearestPaletteIndex(palette, src[0], src[1], src[2])];
      ASSERT_EQ(test::pixelAt(reduced, x, y), (Rgb{e.red, e.green, e.blue}));
    }
  }
  ASSERT_TRUE(reduced.saveFile(dir_ / "reduced.gif", ImageFormat::Gif)) << reduced.lastError();
  expectDecodesTo(python_, dir_ / "reduced.gif", reduced, "reduced page");
  ASSERT_TRUE(page.saveFile(dir_ / "direct.gif", ImageFormat::Gif)) << page.lastError();
  EXPECT_EQ(page.bitsPerPixel(), 24);
  EXPECT_EQ(test::readBytes(dir_ / "direct.gif"), test::readBytes(dir_ / "reduced.gif"));

  // Noise fills the 4096-code table many times over (clear codes); small depths use the
  // minimum code size 2 and 4.
  std::mt19937 random(7);
  const struct {
    int bits;
    int32_t width, height;
  } cases[] = {{8, 300, 200}, {4, 97, 31}, {1, 65, 40}, {8, 1, 1}};
  for (const auto& c : cases) {
    CImageBuffer noise;
    fillPaletted(noise, c.width, c.height, c.bits,
                 [&](int, int) { return int(random() % (1u << c.bits)); });
    ASSERT_TRUE(noise.saveFile(dir_ / "noise.gif", ImageFormat::Gif)) << noise.lastError();
    expectDecodesTo(python_, dir_ / "noise.gif", noise, "noise " + std::to_string(c.bits));
  }
}

// Byte offset of the LZW minimum code size of a file written by our GIF writer.
size_t lzwStart(const Bytes& gif, int bits) {
  size_t pos = 13 + (size_t(3) << bits) + 8;
  if (gif[pos] == 0x21 && gif[pos + 1] == 0xFE) {
    pos += 3 + gif[pos + 2] + 1;
  }
  return pos + 10;
}

TEST_F(EncoderTest, GifLayout) {
  CImageBuffer image;
  fillPaletted(image, 300, 2, 8, [](int x, int) { return x % 3; });
  image.setTransparentIndex(5);
  image.setGifDelay(0x1234);
  image.setGifDisposal(2);
  image.setGifComment("made by us");
  ASSERT_TRUE(image.saveFile(dir_ / "l.gif", ImageFormat::Gif));
  const Bytes gif = test::readBytes(dir_ / "l.gif");
  ASSERT_GT(gif.size(), 820u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(le16(&gif[6]), 300u);
  EXPECT_EQ(le16(&gif[8]), 2u);
  EXPECT_EQ(gif[10], 0xE7);
  EXPECT_EQ((Bytes{gif[13], gif[14], gif[15], gif[16], gif[17], gif[18]}),
            (Bytes{0, 0, 0, 40, 90, 7}));
  const size_t gce = 13 + 768;
  EXPECT_EQ(Bytes(gif.begin() + gce, gif.begin() + gce + 8),
            (Bytes{0x21, 0xF9, 0x04, 0x09, 0x34, 0x12, 0x05, 0x00}));
  EXPECT_EQ(Bytes(gif.begin() + gce + 8, gif.begin() + gce + 11), (Bytes{0x21, 0xFE, 10}));
  const size_t descriptor = gce + 8 + 3 + 10 + 1;
  EXPECT_EQ(Bytes(gif.begin() + descriptor, gif.begin() + descriptor + 11),
            (Bytes{0x2C, 0, 0, 0, 0, 0x2C, 0x01, 0x02, 0x00, 0x00, 8}));
  EXPECT_EQ(gif.back(), 0x3B);
  EXPECT_EQ(gif[gif.size() - 2], 0x00);

  // Without transparency the index byte is 0xFF; small depths announce their table size.
  CImageBuffer mono;
  fillPaletted(mono, 8, 8, 1, [](int x, int) { return x & 1; });
  ASSERT_TRUE(mono.saveFile(dir_ / "m.gif", ImageFormat::Gif));
  const Bytes m = test::readBytes(dir_ / "m.gif");
  EXPECT_EQ(m[10], 0x80);
  EXPECT_EQ(Bytes(m.begin() + 19, m.begin() + 27), (Bytes{0x21, 0xF9, 4, 0, 0, 0, 0xFF, 0}));
  EXPECT_EQ(m[lzwStart(m, 1)], 2);
}

TEST_F(EncoderTest, GifSubBlocksHold254Bytes) {
  // Find a noise row whose LZW data is exactly 600 bytes, then read its sub-block lengths.
  for (int32_t width = 400; width < 700; ++width) {
    CImageBuffer image;
    std::mt19937 random(11);
    fillPaletted(image, width, 1, 8, [&](int, int) { return int(random() % 256); });
    ASSERT_TRUE(image.saveFile(dir_ / "b.gif", ImageFormat::Gif));
    const Bytes gif = test::readBytes(dir_ / "b.gif");
    std::vector<int> blocks;
    size_t total = 0;
    for (size_t pos = lzwStart(gif, 8) + 1; pos < gif.size() && gif[pos] != 0;
         pos += 1 + gif[pos]) {
      blocks.push_back(gif[pos]);
      total += gif[pos];
    }
    if (total == 600) {
      EXPECT_EQ(blocks, (std::vector<int>{254, 254, 92}));
      expectDecodesTo(python_, dir_ / "b.gif", image, "600 bytes");
      return;
    }
  }
  FAIL() << "no noise row gave 600 bytes of LZW data";
}

// Reads a binary PPM (P6) or PGM (P5) as written by djpeg.
bool readPnm(const Bytes& file, std::string& magic, int& w, int& h, Bytes& pixels) {
  std::string header;
  size_t pos = 0;
  int fields = 0;
  std::string token;
  int values[4] = {};
  while (pos < file.size() && fields < 4) {
    const char c = char(file[pos++]);
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!token.empty()) {
        if (fields == 0) {
          magic = token;
        } else {
          values[fields] = std::stoi(token);
        }
        ++fields;
        token.clear();
      }
    } else {
      token += c;
    }
  }
  w = values[1], h = values[2];
  pixels.assign(file.begin() + pos, file.end());
  return fields == 4;
}

double psnr(const Bytes& a, const Bytes& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = double(a[i]) - double(b[i]);
    sum += d * d;
  }
  const double mse = sum / double(a.size());
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

TEST(JpegEncoder, QualityGreyAndDensity) {
  if (!test::haveTool("djpeg")) {
    GTEST_SKIP() << "djpeg not installed";
  }
  test::ScratchDir dir("qv-jpeg");
  const int32_t w = 612, h = 792;
  struct Case {
    bool grey;
    int quality;
    const char* magic;
  };
  size_t sizeAt90 = 0;
  for (const Case c : {Case{false, 90, "P6"}, Case{true, 90, "P5"}, Case{false, 20, "P6"}}) {
    CImageBuffer image;
    test::fillRgb(image, w, h, test::pageColour);
    image.setResolution(72, 144);
    CImageBuffer source;
    test::fillRgb(source, w, h, test::pageColour);
    if (c.grey) {
      ASSERT_TRUE(image.convertToGrey());
      ASSERT_TRUE(source.convertToGrey());
    }
    image.setJpegQuality(c.quality);
    const auto file = dir / "p.jpg";
    ASSERT_TRUE(image.saveFile(file, ImageFormat::Jpeg)) << image.lastError();
    const Bytes jpeg = test::readBytes(file);
    // JFIF APP0: units 1 (dots per inch), then the two densities.
    ASSERT_GT(jpeg.size(), 20u);
    EXPECT_EQ(std::string(jpeg.begin() + 6, jpeg.begin() + 11), std::string("JFIF\0", 5));
    EXPECT_EQ(jpeg[13], 1);
    EXPECT_EQ(jpeg[14] << 8 | jpeg[15], 72);
    EXPECT_EQ(jpeg[16] << 8 | jpeg[17], 144);

    const auto decoded = dir / "p.pnm";
    ASSERT_EQ(test::run("djpeg -pnm -outfile '" + decoded.string() + "' '" + file.string() + "'"),
              0);
    std::string magic;
    int dw = 0, dh = 0;
    Bytes pixels;
    ASSERT_TRUE(readPnm(test::readBytes(decoded), magic, dw, dh, pixels));
    EXPECT_EQ(magic, c.magic);  // P5: one grey component
    ASSERT_EQ(dw, w);
    ASSERT_EQ(dh, h);
    Bytes expected;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const Rgb p = test::pixelAt(source, x, y);
        expected.insert(expected.end(), p.begin(), p.begin() + (c.grey ? 1 : 3));
      }
    }
    ASSERT_EQ(pixels.size(), expected.size());
    if (c.quality == 90) {
      EXPECT_GT(psnr(pixels, expected), 35.0) << (c.grey ? "grey" : "colour");
      if (!c.grey) {
        sizeAt90 = jpeg.size();
      }
    } else {
      EXPECT_LT(jpeg.size(), sizeAt90);
    }
  }
}

}  // namespace
}  // namespace qv
