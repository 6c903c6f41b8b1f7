#include "image/BmpWriter.h"

#include <vector>

namespace qv {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

bool writeBmp(std::FILE* file, const CImageBuffer& image, std::string& error) {
  const BitmapInfoHeader& info = image.header();
  const auto palette = image.palette();
  const uint32_t headerBytes = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  const uint32_t pixelBytes = image.stride() * static_cast<uint32_t>(image.height());

  std::vector<uint8_t> head;
  head.reserve(headerBytes);
  head.push_back('B');
  head.push_back('M');
  put32(head, headerBytes + pixelBytes);
  put32(head, 0);
  put32(head, headerBytes);
  put32(head, 40);
  put32(head, static_cast<uint32_t>(info.width));
  put32(head, static_cast<uint32_t>(info.height));
  put16(head, 1);
  put16(head, info.bitCount);
  put32(head, 0);
  put32(head, pixelBytes);
  put32(head, static_cast<uint32_t>(info.xPelsPerMeter));
  put32(head, static_cast<uint32_t>(info.yPelsPerMeter));
  put32(head, static_cast<uint32_t>(palette.size()));
  put32(head, 0);
  for (const PaletteEntry& entry : palette) {
    head.push_back(entry.blue);
    head.push_back(entry.green);
    head.push_back(entry.red);
    head.push_back(0);
  }
  bool ok = std::fwrite(head.data(), 1, head.size(), file) == head.size();
  for (int32_t y = 0; ok && y < image.height(); ++y) {
    ok = std::fwrite(image.row(y), 1, image.stride(), file) == image.stride();
  }
  if (!ok || std::fflush(file) != 0) {
    error = "Error writing BMP file";
    return false;
  }
  return true;
}

}  // namespace qv
