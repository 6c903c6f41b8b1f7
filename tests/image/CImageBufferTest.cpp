#include "image/CImageBuffer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "ImageTestSupport.h"
#include "image/BmpWriter.h"
#include "image/GifWriter.h"
#include "image/JpegWriter.h"
#include "image/Palette.h"
#include "image/PngWriter.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using test::Rgb;

struct CreateCase {
  int64_t width, height;
  int requestedBits;
  int bits;
  uint32_t stride;
  size_t paletteSize;
};

TEST(CImageBufferCreate, RoundsDepthAndPadsRows) {
  const CreateCase cases[] = {
      {1, 1, 0, 1, 4, 2},    {33, 2, 1, 1, 8, 2},   {3, 1, 2, 4, 4, 16},
      {9, 1, 4, 4, 8, 16},   {5, 3, 8, 8, 8, 256},  {5, 3, 6, 8, 8, 256},
      {5, 3, 16, 24, 16, 0}, {4, 4, 24, 24, 12, 0}, {7, 1, 32, 24, 24, 0},
  };
  for (const auto& c : cases) {
    CImageBuffer image;
    ASSERT_TRUE(image.create(c.width, c.height, c.requestedBits)) << c.width << "x" << c.height;
    EXPECT_EQ(image.bitsPerPixel(), c.bits);
    EXPECT_EQ(image.stride(), c.stride);
    EXPECT_EQ(image.palette().size(), c.paletteSize);
    EXPECT_EQ(image.header().sizeImage, c.stride * c.height);
    EXPECT_EQ(image.header().xPelsPerMeter, 3780);  // 96 dots per inch
    for (uint32_t i = 0; i < image.stride(); ++i) {
      EXPECT_EQ(image.row(0)[i], 0);
    }
  }
}

TEST(CImageBufferCreate, RefusesEmptyAndHugeSizes) {
  const struct {
    int64_t width, height;
    const char* error;
  } cases[] = {
      {0, 10, "Width and height must be greater than zero"},
      {10, 0, "Width and height must be greater than zero"},
      {-5, 10, "Width and height must be greater than zero"},
      {1 << 20, 1 << 20, "Memory not available"},
      {int64_t{1} << 40, 1, "Memory not available"},
  };
  for (const auto& c : cases) {
    CImageBuffer image;
    ASSERT_TRUE(image.create(2, 2, 24));
    EXPECT_FALSE(image.create(c.width, c.height, 24));
    EXPECT_EQ(image.lastError(), c.error);
  }
}

TEST(CImageBufferGrey, WeightsOfTheChannels) {
  const struct {
    Rgb colour;
    uint8_t grey;
  } cases[] = {{{255, 255, 255}, 255}, {{255, 0, 0}, 76}, {{0, 255, 0}, 149},
               {{0, 0, 255}, 29},      {{0, 0, 0}, 0},    {{100, 150, 200}, 140}};
  CImageBuffer image;
  test::fillRgb(image, 6, 1, [&](int32_t x, int32_t) { return cases[x].colour; });
  image.setResolution(72, 150);
  image.setJpegQuality(33);
  ASSERT_TRUE(image.convertToGrey());
  EXPECT_EQ(image.bitsPerPixel(), 8);
  EXPECT_TRUE(image.hasGreyPalette());
  EXPECT_EQ(image.xDpi(), 72);
  EXPECT_EQ(image.yDpi(), 150);
  EXPECT_EQ(image.jpegQuality(), 33);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(image.row(0)[x], cases[x].grey) << x;
  }
}

TEST(CImageBufferGrey, PalettedImagesBecomeEightBitGrey) {
  for (int bits : {1, 4, 8}) {
    CImageBuffer image;
    ASSERT_TRUE(image.create(3, 2, bits));
    image.palette()[0] = PaletteEntry{0, 0, 255, 0};  // red
    image.palette()[1] = PaletteEntry{255, 0, 0, 0};  // blue
    // Top row: 1 0 1, bottom row: 0 0 0.
    uint8_t* top = image.row(1);
    if (bits == 8) {
      top[0] = 1, top[2] = 1;
    } else if (bits == 4) {
      top[0] = 0x10, top[1] = 0x10;
    } else {
      top[0] = 0xA0;
    }
    ASSERT_TRUE(image.convertToGrey()) << bits;
    EXPECT_EQ(image.bitsPerPixel(), 8);
    EXPECT_TRUE(image.hasGreyPalette());
    EXPECT_EQ(test::pixelAt(image, 0, 0), (Rgb{29, 29, 29})) << bits;
    EXPECT_EQ(test::pixelAt(image, 1, 0), (Rgb{76, 76, 76})) << bits;
    EXPECT_EQ(test::pixelAt(image, 2, 1), (Rgb{76, 76, 76})) << bits;
  }
}

TEST(CImageBufferReduce, StandardPaletteKeepsTheListedEntries) {
  const auto& p = standardPalette();
  const struct {
    int index;
    Rgb colour;
  } listed[] = {
      {0, {0, 0, 0}},        {1, {128, 0, 0}},     {2, {0, 128, 0}},       {3, {128, 128, 0}},
      {4, {0, 0, 128}},      {5, {128, 0, 128}},   {6, {0, 128, 128}},     {7, {192, 192, 192}},
      {8, {192, 220, 192}},  {9, {166, 202, 240}}, {10, {255, 251, 240}},  {13, {255, 239, 181}},
      {15, {255, 227, 145}}, {16, {255, 170, 0}},  {17, {220, 146, 0}},    {18, {185, 122, 0}},
      {19, {150, 98, 0}},    {20, {115, 74, 0}},   {247, {160, 160, 164}}, {248, {128, 128, 128}},
      {249, {255, 0, 0}},    {250, {0, 255, 0}},   {251, {255, 255, 0}},   {252, {0, 0, 255}},
      {253, {255, 0, 255}},  {254, {0, 255, 255}}, {255, {255, 255, 255}},
  };
  for (const auto& e : listed) {
    EXPECT_EQ((Rgb{p[e.index].red, p[e.index].green, p[e.index].blue}), e.colour) << e.index;
  }
  // No entry repeats another, so every entry can be chosen.
  for (int i = 0; i < 256; ++i) {
    for (int j = 0; j < i; ++j) {
      EXPECT_FALSE(p[i] == p[j]) << i << " repeats " << j;
    }
  }
}

TEST(CImageBufferReduce, PixelsTakeTheNearestEntry) {
  const Rgb colours[] = {{255, 255, 255}, {0, 0, 0}, {130, 2, 1}, {250, 250, 250}, {10, 200, 90}};
  CImageBuffer image;
  test::fillRgb(image, 5, 2, [&](int32_t x, int32_t) { return colours[x]; });
  ASSERT_TRUE(image.reduceTo8Bit());
  EXPECT_EQ(image.bitsPerPixel(), 8);
  EXPECT_EQ(image.progress(), 100);
  const auto& p = standardPalette();
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(image.row(y)[0], 255);
    EXPECT_EQ(image.row(y)[1], 0);
    EXPECT_EQ(image.row(y)[2], 1);
    EXPECT_EQ(image.row(y)[3], nearestPaletteIndex(p, 250, 250, 250));
    EXPECT_EQ(image.row(y)[4], nearestPaletteIndex(p, 10, 200, 90));
  }
  // An 8-bit image stays as it is; fewer bits fail.
  ASSERT_TRUE(image.reduceTo8Bit());
  EXPECT_EQ(image.row(0)[0], 255);
  CImageBuffer small;
  ASSERT_TRUE(small.create(2, 2, 4));
  EXPECT_FALSE(small.reduceTo8Bit());
}

TEST(CImageBufferReduce, CancelLeavesTheImage) {
  CImageBuffer image;
  test::fillRgb(image, 4, 4, [](int32_t, int32_t) { return Rgb{1, 2, 3}; });
  image.requestCancel();
  EXPECT_FALSE(image.reduceTo8Bit());
  EXPECT_EQ(image.bitsPerPixel(), 24);
  EXPECT_EQ(test::pixelAt(image, 3, 3), (Rgb{1, 2, 3}));
}

TEST(CImageBufferNearest, FirstMinimumWinsAndTheAnswerIsRemembered) {
  CImageBuffer image;
  ASSERT_TRUE(image.create(1, 1, 8));
  auto palette = image.palette();
  palette[0] = PaletteEntry{0, 0, 10, 0};  // (10, 0, 0)
  palette[1] = PaletteEntry{0, 0, 30, 0};  // (30, 0, 0): as near to 20 as entry 0
  palette[2] = PaletteEntry{0, 0, 20, 0};  // exact match of (20, 0, 0), but after
  EXPECT_EQ(image.nearestIndex(0x000014), 2);
  EXPECT_EQ(image.nearestIndex(0x000015), 2);
  EXPECT_EQ(image.nearestIndex(0x00001F), 1);
  EXPECT_EQ(image.nearestIndex(0x00000C), 0);
  // Equal distances: (10,0,0) and (30,0,0) from (20,0,0) once the exact entry is gone.
  image.palette()[2] = PaletteEntry{255, 255, 255, 0};
  EXPECT_EQ(image.nearestIndex(0x000014), 0);
}

TEST(CImageBufferSave, FailuresLeaveNoFile) {
  test::ScratchDir dir("qv-image");
  CImageBuffer image;
  EXPECT_FALSE(image.saveFile(dir / "empty.png", ImageFormat::Png));
  EXPECT_EQ(image.lastError(), "No image");

  test::fillRgb(image, 8, 8, [](int32_t x, int32_t y) { return Rgb{uint8_t(x), uint8_t(y), 0}; });
  for (int code : {0, 5, -1}) {
    EXPECT_FALSE(image.saveFile(dir / "x.img", static_cast<ImageFormat>(code)));
    EXPECT_EQ(image.lastError(), "Encode: Unknown format");
  }
  EXPECT_FALSE(image.saveFile(dir / "missing" / "x.png", ImageFormat::Png));
  EXPECT_FALSE(image.lastError().empty());

  CImageBuffer palette;
  ASSERT_TRUE(palette.create(4, 4, 8));
  palette.palette()[1] = PaletteEntry{1, 2, 3, 0};
  EXPECT_FALSE(palette.saveFile(dir / "colour.jpg", ImageFormat::Jpeg));
  EXPECT_EQ(palette.lastError(), "JPEG can save only RGB or GreyScale images");
  CImageBuffer mono;
  ASSERT_TRUE(mono.create(4, 4, 1));
  EXPECT_FALSE(mono.saveFile(dir / "mono.jpg", ImageFormat::Jpeg));

  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CImageBufferSave, UnwritableFolderFails) {
  if (geteuid() == 0) {
    // root writes anywhere; /proc refuses new files to everyone.
    CImageBuffer image;
    test::fillRgb(image, 2, 2, [](int32_t, int32_t) { return Rgb{0, 0, 0}; });
    EXPECT_FALSE(image.saveFile("/proc/qv-test.png", ImageFormat::Png));
    EXPECT_EQ(image.lastError(), "Cannot create file");
    return;
  }
  test::ScratchDir dir("qv-image");
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  CImageBuffer image;
  test::fillRgb(image, 2, 2, [](int32_t, int32_t) { return Rgb{0, 0, 0}; });
  EXPECT_FALSE(image.saveFile(dir / "x.png", ImageFormat::Png));
  EXPECT_EQ(image.lastError(), "Cannot create file");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
}

TEST(CImageBufferSave, WriteErrorsAreReported) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full";
  }
  CImageBuffer image;
  test::fillRgb(image, 64, 64, test::pageColour);
  CImageBuffer reduced;
  test::fillRgb(reduced, 64, 64, test::pageColour);
  ASSERT_TRUE(reduced.reduceTo8Bit());
  using Writer = bool (*)(std::FILE*, const CImageBuffer&, std::string&);
  const struct {
    Writer write;
    const CImageBuffer* image;
    const char* error;
  } cases[] = {{writePng, &image, "Error saving PNG file"},
               {writeGif, &reduced, "Write Error in GIF file"},
               {writeBmp, &image, "Error writing BMP file"},
               {writeJpeg, &image, nullptr}};
  for (const auto& c : cases) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    std::string error;
    EXPECT_FALSE(c.write(full, *c.image, error));
    if (c.error) {
      EXPECT_EQ(error, c.error);
    } else {
      EXPECT_FALSE(error.empty());
    }
    std::fclose(full);
  }
}

}  // namespace
}  // namespace qv
