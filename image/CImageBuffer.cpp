#include "image/CImageBuffer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "image/BmpReader.h"
#include "image/BmpWriter.h"
#include "image/GifWriter.h"
#include "image/ImageLimits.h"
#include "image/JpegWriter.h"
#include "image/Palette.h"
#include "image/PngWriter.h"

namespace qv {

namespace {

constexpr char kNoImage[] = "No image";
constexpr char kUnknownEncode[] = "Encode: Unknown format";
constexpr char kUnknownDecode[] = "Decode: Unknown or wrong format";

int32_t dpiToPelsPerMeter(int dpi) {
  return static_cast<int32_t>((static_cast<int64_t>(dpi) * 10000 + 127) / 254);
}

bool isKnownFormat(ImageFormat format) {
  const auto code = static_cast<int32_t>(format);
  return code >= 1 && code <= 4;
}

// Index of pixel x of a paletted row of 1, 4 or 8 bits.
uint8_t paletteIndexAt(const uint8_t* row, int32_t x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

// Opens a new file beside `target` that no other writer uses, so that a failed save never
// leaves a file under the final name.
int openTemporarySibling(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".qvtmp-%08x", static_cast<unsigned>(random()));
    temporary = target;
    temporary += suffix;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  return -1;
}

}  // namespace

CImageBuffer::CImageBuffer() = default;
CImageBuffer::~CImageBuffer() = default;

bool CImageBuffer::fail(std::string message) {
  lastError_ = std::move(message);
  return false;
}

bool CImageBuffer::create(int64_t width, int64_t height, int bitsPerPixel) {
  if (width <= 0 || height <= 0) {
    return fail("Width and height must be greater than zero");
  }
  const int bits = bitsPerPixel <= 1 ? 1 : bitsPerPixel <= 4 ? 4 : bitsPerPixel <= 8 ? 8 : 24;
  if (width > kMaxImageDimension || height > kMaxImageDimension) {
    return fail("Memory not available");
  }
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  const uint64_t total = stride * static_cast<uint64_t>(height);
  if (total > kMaxImageBytes) {
    return fail("Memory not available");
  }
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[total]());
  if (!pixels) {
    return fail("Memory not available");
  }
  const size_t paletteSize = bits <= 8 ? (size_t{1} << bits) : 0;
  bits_ = std::move(pixels);
  palette_.assign(paletteSize, PaletteEntry{});
  stride_ = static_cast<uint32_t>(stride);
  header_ = BitmapInfoHeader{};
  header_.width = static_cast<int32_t>(width);
  header_.height = static_cast<int32_t>(height);
  header_.bitCount = static_cast<uint16_t>(bits);
  header_.sizeImage = static_cast<uint32_t>(total);
  header_.xPelsPerMeter = dpiToPelsPerMeter(xDpi_);
  header_.yPelsPerMeter = dpiToPelsPerMeter(yDpi_);
  header_.clrUsed = static_cast<uint32_t>(paletteSize);
  haveLastColor_ = false;
  return true;
}

void CImageBuffer::destroy() {
  bits_.reset();
  palette_.clear();
  stride_ = 0;
  header_ = BitmapInfoHeader{};
  haveLastColor_ = false;
}

void CImageBuffer::takePixels(CImageBuffer& other) {
  header_ = other.header_;
  header_.xPelsPerMeter = dpiToPelsPerMeter(xDpi_);
  header_.yPelsPerMeter = dpiToPelsPerMeter(yDpi_);
  palette_ = std::move(other.palette_);
  bits_ = std::move(other.bits_);
  stride_ = other.stride_;
  other.destroy();
  haveLastColor_ = false;
}

void CImageBuffer::setResolution(int xDpi, int yDpi) {
  xDpi_ = xDpi;
  yDpi_ = yDpi;
  header_.xPelsPerMeter = dpiToPelsPerMeter(xDpi);
  header_.yPelsPerMeter = dpiToPelsPerMeter(yDpi);
}

bool CImageBuffer::setJpegQuality(int quality) {
  jpegQuality_ = quality < 0 ? 0 : quality > 100 ? 100 : quality;
  return true;
}

uint32_t CImageBuffer::codecOptions(ImageFormat format) const {
  const auto code = static_cast<uint32_t>(format);
  return code < 5 ? codecOptions_[code] : 0;
}

void CImageBuffer::setCodecOptions(ImageFormat format, uint32_t options) {
  const auto code = static_cast<uint32_t>(format);
  if (code < 5) {
    codecOptions_[code] = options;
  }
}

bool CImageBuffer::hasGreyPalette() const {
  if (!isValid() || header_.bitCount != 8 || palette_.size() != 256) {
    return false;
  }
  const auto& grey = greyPalette();
  for (size_t i = 0; i < 256; ++i) {
    if (palette_[i].red != grey[i].red || palette_[i].green != grey[i].green ||
        palette_[i].blue != grey[i].blue) {
      return false;
    }
  }
  return true;
}

uint8_t CImageBuffer::nearestIndex(uint32_t color) {
  if (haveLastColor_ && color == lastColor_) {
    return lastIndex_;
  }
  lastIndex_ =
      nearestPaletteIndex(palette_, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  lastColor_ = color;
  haveLastColor_ = true;
  return lastIndex_;
}

bool CImageBuffer::convertToGrey() {
  if (!isValid()) {
    return fail(kNoImage);
  }
  CImageBuffer grey;
  if (!grey.create(header_.width, header_.height, 8)) {
    return fail(grey.lastError());
  }
  std::copy(greyPalette().begin(), greyPalette().end(), grey.palette_.begin());
  const int bits = header_.bitCount;
  // For paletted images each index maps to the grey level of its entry.
  uint8_t levels[256] = {};
  for (size_t i = 0; i < palette_.size() && i < 256; ++i) {
    levels[i] = greyLevel(palette_[i].red, palette_[i].green, palette_[i].blue);
  }
  for (int32_t y = 0; y < header_.height; ++y) {
    const uint8_t* src = row(y);
    uint8_t* dst = grey.row(y);
    if (bits == 24) {
      for (int32_t x = 0; x < header_.width; ++x, src += 3) {
        dst[x] = greyLevel(src[2], src[1], src[0]);
      }
    } else {
      for (int32_t x = 0; x < header_.width; ++x) {
        dst[x] = levels[paletteIndexAt(src, x, bits)];
      }
    }
  }
  takePixels(grey);
  return true;
}

bool CImageBuffer::reduceInto(CImageBuffer& reduced) {
  if (!isValid()) {
    return fail(kNoImage);
  }
  if (header_.bitCount < 8) {
    return fail("Cannot reduce an image of fewer than 8 bits per pixel");
  }
  if (!reduced.create(header_.width, header_.height, 8)) {
    return fail(reduced.lastError());
  }
  std::copy(standardPalette().begin(), standardPalette().end(), reduced.palette_.begin());
  progress_.store(0);
  for (int32_t y = 0; y < header_.height; ++y) {
    progress_.store(static_cast<int>(int64_t{y} * 100 / header_.height));
    if (cancel_.load()) {
      return fail("Cancelled");
    }
    const uint8_t* src = row(y);
    uint8_t* dst = reduced.row(y);
    for (int32_t x = 0; x < header_.width; ++x, src += 3) {
      dst[x] =
          reduced.nearestIndex(uint32_t{src[2]} | uint32_t{src[1]} << 8 | uint32_t{src[0]} << 16);
    }
  }
  progress_.store(100);
  return true;
}

bool CImageBuffer::reduceTo8Bit() {
  if (isValid() && header_.bitCount == 8) {
    return true;
  }
  CImageBuffer reduced;
  if (!reduceInto(reduced)) {
    return false;
  }
  takePixels(reduced);
  return true;
}

bool CImageBuffer::decode(std::FILE* file, ImageFormat format) {
  if (format == ImageFormat::Any) {
    if (decode(file, ImageFormat::Bmp)) {
      return true;
    }
    return fail(kUnknownDecode);
  }
  if (format != ImageFormat::Bmp) {
    // Only bitmaps are read back: the page-image step renders into a bitmap file.
    return fail(kUnknownDecode);
  }
  if (std::fseek(file, 0, SEEK_SET) != 0) {
    return fail("Error reading BMP info");
  }
  CImageBuffer loaded;
  std::string error;
  if (!readBmp(file, loaded, error)) {
    return fail(error);
  }
  setResolution(loaded.xDpi(), loaded.yDpi());
  takePixels(loaded);
  loadedFormat_ = format;
  return true;
}

bool CImageBuffer::loadFile(const std::filesystem::path& file, ImageFormat format) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (!in) {
    return fail("Cannot open file");
  }
  bool ok = decode(in, format);
  if (!ok && format != ImageFormat::Any) {
    std::string first = lastError_;
    ok = decode(in, ImageFormat::Any);
    if (!ok) {
      lastError_ = std::move(first);
    }
  }
  std::fclose(in);
  return ok;
}

bool CImageBuffer::encode(std::FILE* file, ImageFormat format) {
  std::string error;
  bool ok = false;
  switch (format) {
    case ImageFormat::Bmp:
      ok = writeBmp(file, *this, error);
      break;
    case ImageFormat::Gif:
      if (header_.bitCount > 8) {
        // GIF holds at most 256 colours: write a reduced copy, leaving this image as it is.
        CImageBuffer reduced;
        if (!reduceInto(reduced)) {
          return false;
        }
        reduced.transparentIndex_ = transparentIndex_;
        reduced.gifDelay_ = gifDelay_;
        reduced.gifDisposal_ = gifDisposal_;
        reduced.gifComment_ = gifComment_;
        ok = writeGif(file, reduced, error);
      } else {
        ok = writeGif(file, *this, error);
      }
      break;
    case ImageFormat::Jpeg:
      ok = writeJpeg(file, *this, error);
      break;
    case ImageFormat::Png:
      ok = writePng(file, *this, error);
      break;
    default:
      return fail(kUnknownEncode);
  }
  return ok ? true : fail(error);
}

bool CImageBuffer::saveFile(const std::filesystem::path& file, ImageFormat format) {
  if (!isKnownFormat(format)) {
    return fail(kUnknownEncode);
  }
  if (!isValid()) {
    return fail(kNoImage);
  }
  std::filesystem::path temporary;
  const int fd = openTemporarySibling(file, temporary);
  if (fd < 0) {
    return fail("Cannot create file");
  }
  std::FILE* out = ::fdopen(fd, "wb");
  if (!out) {
    ::close(fd);
    std::error_code ec;
    std::filesystem::remove(temporary, ec);
    return fail("Cannot create file");
  }
  bool ok = encode(out, format);
  if (std::fclose(out) != 0 && ok) {
    ok = fail(format == ImageFormat::Gif   ? "Write Error in GIF file"
              : format == ImageFormat::Png ? "Error saving PNG file"
                                           : "Error writing file");
  }
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
      ok = fail("Cannot create file");
    }
  }
  if (!ok) {
    std::filesystem::remove(temporary, ec);
  }
  return ok;
}

}  // namespace qv
