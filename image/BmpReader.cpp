#include "image/BmpReader.h"

#include <bit>
#include <cstring>
#include <vector>

#include "image/ImageLimits.h"

namespace qv {

namespace {

constexpr char kNotBmp[] = "Not a BMP";
constexpr char kBadInfo[] = "Error reading BMP info";
constexpr char kBadData[] = "Error reading BMP data";

enum : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
  kCmyk = 11,
  kCmykRle8 = 12,
  kCmykRle4 = 13,
};

uint16_t u16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool readExactly(std::FILE* file, void* buffer, size_t size) {
  return std::fread(buffer, 1, size, file) == size;
}

// Extracts one channel selected by a bit-field mask and scales it to 8 bits.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask != 0) {
      shift_ = std::countr_zero(mask);
      bits_ = std::countr_one(mask >> shift_);
      max_ = bits_ >= 32 ? 0xFFFFFFFFu : (uint32_t{1} << bits_) - 1;
    }
  }
  uint8_t operator()(uint32_t pixel) const {
    if (mask_ == 0) {
      return 0;
    }
    const uint32_t value = ((pixel & mask_) >> shift_) & max_;
    if (bits_ >= 8) {
      return static_cast<uint8_t>(value >> (bits_ - 8));
    }
    return static_cast<uint8_t>((value * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_;
  int shift_ = 0;
  int bits_ = 0;
  uint32_t max_ = 1;
};

struct BmpInfo {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t colorsUsed = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  bool haveMasks = false;
  bool core = false;  // OS/2 1.x header: 3-byte palette entries
};

void setIndex(uint8_t* row, int64_t x, int bits, uint8_t value) {
  if (bits == 8) {
    row[x] = value;
  } else if (x & 1) {
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (value & 0x0F));
  } else {
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (value << 4));
  }
}

// Decodes RLE8 or RLE4 data. Rows count from the first stored row; every step consumes input,
// so the loop ends at the end of the file at the latest.
bool decodeRle(std::FILE* file, const BmpInfo& info, CImageBuffer& image) {
  const int bits = info.bits;
  int64_t x = 0;
  int64_t y = 0;
  auto rowAt = [&](int64_t line) {
    return image.row(static_cast<int32_t>(info.topDown ? info.height - 1 - line : line));
  };
  auto put = [&](uint8_t value) {
    if (x < info.width && y < info.height) {
      setIndex(rowAt(y), x, bits, value);
    }
    ++x;
  };
  for (;;) {
    const int count = std::getc(file);
    const int value = std::getc(file);
    if (count == EOF || value == EOF) {
      return false;
    }
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(bits == 8 ? static_cast<uint8_t>(value)
                      : static_cast<uint8_t>((i & 1) ? (value & 0x0F) : (value >> 4)));
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        if (++y >= info.height) {
          return true;
        }
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta
        const int dx = std::getc(file);
        const int dy = std::getc(file);
        if (dx == EOF || dy == EOF) {
          return false;
        }
        x += dx;
        y += dy;
        if (y >= info.height) {
          return true;
        }
        break;
      }
      default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
        const int bytes = bits == 8 ? value : (value + 1) / 2;
        uint8_t literal[256];
        if (!readExactly(file, literal, static_cast<size_t>(bytes + (bytes & 1)))) {
          return false;
        }
        for (int i = 0; i < value; ++i) {
          put(bits == 8 ? literal[i]
                        : static_cast<uint8_t>((i & 1) ? (literal[i / 2] & 0x0F)
                                                       : (literal[i / 2] >> 4)));
        }
        break;
      }
    }
  }
}

bool decodeRows(std::FILE* file, const BmpInfo& info, CImageBuffer& image) {
  const uint64_t srcStride = ((static_cast<uint64_t>(info.width) * info.bits + 31) / 32) * 4;
  std::vector<uint8_t> line(srcStride);
  uint32_t masks[3] = {info.masks[0], info.masks[1], info.masks[2]};
  if (!info.haveMasks) {
    if (info.bits == 16) {
      masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
      masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
    }
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int64_t i = 0; i < info.height; ++i) {
    if (!readExactly(file, line.data(), line.size())) {
      return false;
    }
    uint8_t* dst = image.row(static_cast<int32_t>(info.topDown ? info.height - 1 - i : i));
    if (info.bits <= 8 || info.bits == 24) {
      std::memcpy(dst, line.data(), image.stride() < srcStride ? image.stride() : srcStride);
      continue;
    }
    const uint8_t* src = line.data();
    for (int64_t x = 0; x < info.width; ++x, dst += 3) {
      uint32_t pixel;
      if (info.bits == 16) {
        pixel = u16(src);
        src += 2;
      } else {
        pixel = u32(src);
        src += 4;
      }
      dst[0] = blue(pixel);
      dst[1] = green(pixel);
      dst[2] = red(pixel);
    }
  }
  return true;
}

// Reads the information header that follows the 14-byte file header.
bool readInfo(std::FILE* file, BmpInfo& info, uint32_t& headerSize, std::string& error) {
  uint8_t buffer[124] = {};
  if (!readExactly(file, buffer, 4)) {
    error = kBadInfo;
    return false;
  }
  headerSize = u32(buffer);
  if (headerSize == 12) {
    if (!readExactly(file, buffer + 4, 8)) {
      error = kBadInfo;
      return false;
    }
    info.core = true;
    info.width = u16(buffer + 4);
    info.height = u16(buffer + 6);
    info.bits = u16(buffer + 10);
    return true;
  }
  if (headerSize < 40 || headerSize > 4096) {
    error = kBadInfo;
    return false;
  }
  const size_t known = headerSize < sizeof buffer ? headerSize : sizeof buffer;
  if (!readExactly(file, buffer + 4, known - 4) ||
      std::fseek(file, static_cast<long>(headerSize - known), SEEK_CUR) != 0) {
    error = kBadInfo;
    return false;
  }
  info.width = static_cast<int32_t>(u32(buffer + 4));
  const int64_t height = static_cast<int32_t>(u32(buffer + 8));
  info.topDown = height < 0;
  info.height = height < 0 ? -height : height;
  info.bits = u16(buffer + 14);
  info.compression = u32(buffer + 16);
  info.xPelsPerMeter = static_cast<int32_t>(u32(buffer + 24));
  info.yPelsPerMeter = static_cast<int32_t>(u32(buffer + 28));
  info.colorsUsed = u32(buffer + 32);
  if (info.compression == kBitFields || info.compression == kAlphaBitFields) {
    if (headerSize >= 52) {
      info.masks[0] = u32(buffer + 40), info.masks[1] = u32(buffer + 44);
      info.masks[2] = u32(buffer + 48);
    } else {
      // A plain 40-byte header is followed by the masks (and an alpha mask for type 6).
      uint8_t masks[16];
      const size_t size = info.compression == kAlphaBitFields ? 16 : 12;
      if (!readExactly(file, masks, size)) {
        error = kBadInfo;
        return false;
      }
      info.masks[0] = u32(masks), info.masks[1] = u32(masks + 4), info.masks[2] = u32(masks + 8);
    }
    info.haveMasks = true;
  }
  return true;
}

bool checkCompression(const BmpInfo& info, std::string& error) {
  switch (info.compression) {
    case kRgb:
      return true;
    case kRle8:
    case kRle4:
      if ((info.compression == kRle8 && info.bits == 8) ||
          (info.compression == kRle4 && info.bits == 4)) {
        return true;
      }
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (info.bits == 16 || info.bits == 32) {
        return true;
      }
      break;
    case kJpeg:
    case kPng:
    case kCmyk:
    case kCmykRle8:
    case kCmykRle4:
      break;
    default:
      error = "unknown compression";
      return false;
  }
  error = "compression type not supported";
  return false;
}

}  // namespace

bool readBmp(std::FILE* file, CImageBuffer& image, std::string& error) {
  uint8_t fileHeader[14];
  if (!readExactly(file, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' ||
      fileHeader[1] != 'M') {
    error = kNotBmp;
    return false;
  }
  const uint32_t dataOffset = u32(fileHeader + 10);

  BmpInfo info;
  uint32_t headerSize = 0;
  if (!readInfo(file, info, headerSize, error)) {
    return false;
  }
  const bool paletted = info.bits == 1 || info.bits == 4 || info.bits == 8;
  if (info.width <= 0 || info.height <= 0 ||
      !(paletted || info.bits == 16 || info.bits == 24 || info.bits == 32)) {
    error = kBadInfo;
    return false;
  }
  if (!checkCompression(info, error)) {
    return false;
  }

  std::vector<PaletteEntry> palette;
  if (paletted) {
    const uint32_t full = uint32_t{1} << info.bits;
    const uint32_t count = info.colorsUsed == 0 || info.colorsUsed > full ? full : info.colorsUsed;
    const size_t entrySize = info.core ? 3 : 4;
    std::vector<uint8_t> raw(count * entrySize);
    if (!readExactly(file, raw.data(), raw.size())) {
      error = kBadInfo;
      return false;
    }
    palette.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = raw.data() + i * entrySize;
      palette[i] = PaletteEntry{p[0], p[1], p[2], 0};
    }
  }

  // The pixels start at the offset of the file header. Check it, and for uncompressed data
  // the length of the file, before allocating anything the header asks for.
  const long headerEnd = std::ftell(file);
  if (std::fseek(file, 0, SEEK_END) != 0) {
    error = kBadData;
    return false;
  }
  const long fileSize = std::ftell(file);
  if (dataOffset < 14 + headerSize || dataOffset > static_cast<uint64_t>(fileSize) ||
      headerEnd < 0) {
    error = kBadData;
    return false;
  }
  const bool compressed = info.compression == kRle8 || info.compression == kRle4;
  if (!compressed) {
    const uint64_t srcStride = ((static_cast<uint64_t>(info.width) * info.bits + 31) / 32) * 4;
    if (srcStride * static_cast<uint64_t>(info.height) >
        static_cast<uint64_t>(fileSize) - dataOffset) {
      error = kBadData;
      return false;
    }
  }
  if (!image.create(info.width, info.height, paletted ? info.bits : 24)) {
    error = image.lastError();
    return false;
  }
  std::copy(palette.begin(), palette.end(), image.palette().begin());
  if (std::fseek(file, static_cast<long>(dataOffset), SEEK_SET) != 0) {
    error = kBadData;
    return false;
  }
  const bool ok = compressed ? decodeRle(file, info, image) : decodeRows(file, info, image);
  if (!ok) {
    error = kBadData;
    return false;
  }
  // Whole dots per inch, rounded (2835 per metre is 72 per inch); a missing or tiny value
  // keeps the image's resolution.
  const int64_t xDpi = (int64_t{info.xPelsPerMeter} * 254 + 5000) / 10000;
  const int64_t yDpi = (int64_t{info.yPelsPerMeter} * 254 + 5000) / 10000;
  if (xDpi >= 1 && yDpi >= 1) {
    image.setResolution(static_cast<int>(xDpi), static_cast<int>(yDpi));
  }
  return true;
}

}  // namespace qv
