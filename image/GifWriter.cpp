#include "image/GifWriter.h"

#include <vector>

#include "image/LzwEncoder.h"

namespace qv {

namespace {

constexpr char kWriteError[] = "Write Error in GIF file";

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

bool flush(std::FILE* file, std::vector<uint8_t>& bytes) {
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  bytes.clear();
  return ok;
}

}  // namespace

bool writeGif(std::FILE* file, const CImageBuffer& image, std::string& error) {
  const int bits = image.bitsPerPixel();
  if (bits > 8) {
    error = "GIF can save only images of 256 colours or fewer";
    return false;
  }
  // The screen and image sizes are 16-bit fields; a larger image cannot be written.
  if (image.width() > 0xFFFF || image.height() > 0xFFFF) {
    error = "Image too large for GIF";
    return false;
  }
  const auto palette = image.palette();
  std::vector<uint8_t> head;
  head.reserve(1024);
  for (char c : {'G', 'I', 'F', '8', '9', 'a'}) {
    head.push_back(static_cast<uint8_t>(c));
  }
  put16(head, static_cast<uint32_t>(image.width()));
  put16(head, static_cast<uint32_t>(image.height()));
  if (!palette.empty()) {
    // Global table present, colour resolution bits as the classic writers set them, and a
    // table of 2^bits entries.
    head.push_back(static_cast<uint8_t>(0x80 | (((bits + 7) << 5) & 0xFF) | (bits - 1)));
  } else {
    head.push_back(0x11);
  }
  head.push_back(0);  // background index
  head.push_back(0);  // aspect ratio
  for (const PaletteEntry& entry : palette) {
    head.push_back(entry.red);
    head.push_back(entry.green);
    head.push_back(entry.blue);
  }

  const int transparent = image.transparentIndex();
  head.insert(head.end(), {0x21, 0xF9, 0x04});
  head.push_back(
      static_cast<uint8_t>(((image.gifDisposal() << 2) & 0x1F) | (transparent >= 0 ? 1 : 0)));
  put16(head, static_cast<uint32_t>(image.gifDelay()) & 0xFFFF);
  head.push_back(transparent >= 0 ? static_cast<uint8_t>(transparent) : 0xFF);
  head.push_back(0);

  const std::string& comment = image.gifComment();
  if (!comment.empty()) {
    const size_t length = comment.size() < 255 ? comment.size() : 255;
    head.insert(head.end(), {0x21, 0xFE, static_cast<uint8_t>(length)});
    head.insert(head.end(), comment.begin(), comment.begin() + static_cast<ptrdiff_t>(length));
    head.push_back(0);
  }

  head.push_back(0x2C);
  put16(head, 0);
  put16(head, 0);
  put16(head, static_cast<uint32_t>(image.width()));
  put16(head, static_cast<uint32_t>(image.height()));
  head.push_back(0);  // no local table, not interlaced
  const int minCodeSize = bits < 2 ? 2 : bits;
  head.push_back(static_cast<uint8_t>(minCodeSize));
  if (!flush(file, head)) {
    error = kWriteError;
    return false;
  }

  // Pixels go top row first: the buffer's last row first.
  LzwEncoder encoder(file, minCodeSize);
  std::vector<uint8_t> indices(static_cast<size_t>(image.width()));
  for (int32_t y = image.height() - 1; y >= 0; --y) {
    const uint8_t* row = image.row(y);
    if (bits == 8) {
      encoder.addPixels(row, indices.size());
      continue;
    }
    for (int32_t x = 0; x < image.width(); ++x) {
      indices[x] = bits == 1 ? (row[x >> 3] >> (7 - (x & 7))) & 1
                             : ((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    }
    encoder.addPixels(indices.data(), indices.size());
  }
  bool ok = encoder.finish();
  head.push_back(0);     // end of the image data
  head.push_back(0x3B);  // trailer
  ok = ok && flush(file, head) && std::fflush(file) == 0;
  if (!ok) {
    error = kWriteError;
  }
  return ok;
}

}  // namespace qv
