#include "pdf/filters/RowPredictor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qv {

bool PredictorParams::valid() const {
  if (colors < 1 || colors > kMaxPredictorColors || columns < 1) {
    return false;
  }
  if (bitsPerComponent != 1 && bitsPerComponent != 2 && bitsPerComponent != 4 &&
      bitsPerComponent != 8 && bitsPerComponent != 16) {
    return false;
  }
  uint64_t bits = static_cast<uint64_t>(columns) * static_cast<uint64_t>(colors) *
                  static_cast<uint64_t>(bitsPerComponent);
  return (bits + 7) / 8 <= kMaxPredictorRowBytes;
}

RowPredictor::RowPredictor(ByteDecoder& source, const PredictorParams& params)
    : source_(source), params_(params) {
  size_t values = static_cast<size_t>(params.columns) * static_cast<size_t>(params.colors);
  pixBytes_ = (static_cast<size_t>(params.colors) * params.bitsPerComponent + 7) / 8;
  rowBytes_ = (values * params.bitsPerComponent + 7) / 8 + pixBytes_;
  row_.assign(rowBytes_, 0);
  previous_.assign(rowBytes_, 0);
  index_ = rowBytes_;
}

void RowPredictor::restart() {
  source_.reset();
  std::fill(row_.begin(), row_.end(), 0);
  std::fill(previous_.begin(), previous_.end(), 0);
  index_ = rowBytes_;
  ended_ = false;
  endAfterRow_ = false;
}

size_t RowPredictor::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (index_ < rowBytes_) {
      size_t k = std::min(max - n, rowBytes_ - index_);
      std::memcpy(out + n, row_.data() + index_, k);
      index_ += k;
      n += k;
      continue;
    }
    if (!buildRow()) {
      break;
    }
  }
  return n;
}

bool RowPredictor::buildRow() {
  if (ended_ || endAfterRow_) {
    ended_ = true;
    return false;
  }
  int type = params_.predictor;
  if (png()) {
    int tag = source_.readByte();
    if (tag < 0) {
      ended_ = true;
      return false;
    }
    type = tag + 10;
  }
  row_.swap(previous_);
  size_t want = rowBytes_ - pixBytes_;
  size_t got = 0;
  while (got < want) {
    size_t k = source_.read(row_.data() + pixBytes_ + got, want - got);
    if (k == 0) {
      break;
    }
    got += k;
  }
  if (got == 0) {
    row_.swap(previous_);
    ended_ = true;
    return false;
  }
  if (got < want) {
    // Bytes the data did not supply keep the previous row's values.
    std::memcpy(row_.data() + pixBytes_ + got, previous_.data() + pixBytes_ + got, want - got);
    endAfterRow_ = true;
  }
  if (png()) {
    undoPng(type, pixBytes_ + got);
  } else if (params_.predictor == 2) {
    undoTiff();
  }
  index_ = pixBytes_;
  return true;
}

void RowPredictor::undoPng(int type, size_t end) {
  uint8_t* row = row_.data();
  const uint8_t* up = previous_.data();
  size_t bpp = pixBytes_;
  switch (type) {
    case 11:  // Sub
      for (size_t i = bpp; i < end; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
      }
      break;
    case 12:  // Up
      for (size_t i = bpp; i < end; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + up[i]);
      }
      break;
    case 13:  // Average
      for (size_t i = bpp; i < end; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + up[i]) >> 1));
      }
      break;
    case 14:  // Paeth
      for (size_t i = bpp; i < end; ++i) {
        int a = row[i - bpp];
        int b = up[i];
        int c = up[i - bpp];
        int p = a + b - c;
        int pa = std::abs(p - a);
        int pb = std::abs(p - b);
        int pc = std::abs(p - c);
        int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        row[i] = static_cast<uint8_t>(row[i] + predicted);
      }
      break;
    default:  // None, and tags no PNG filter type defines
      break;
  }
}

void RowPredictor::undoTiff() {
  uint8_t* row = row_.data() + pixBytes_;
  size_t bytes = rowBytes_ - pixBytes_;
  size_t colors = static_cast<size_t>(params_.colors);
  int bits = params_.bitsPerComponent;
  if (bits == 8) {
    for (size_t i = colors; i < bytes; ++i) {
      row[i] = static_cast<uint8_t>(row[i] + row[i - colors]);
    }
    return;
  }
  if (bits == 16) {
    for (size_t i = 2 * colors; i + 1 < bytes; i += 2) {
      unsigned value =
          ((row[i] << 8) | row[i + 1]) + ((row[i - 2 * colors] << 8) | row[i - 2 * colors + 1]);
      row[i] = static_cast<uint8_t>(value >> 8);
      row[i + 1] = static_cast<uint8_t>(value);
    }
    return;
  }
  // 1, 2 or 4 bits: values packed most significant bit first, several per byte. The
  // read position never falls behind the write position, so the row is rewritten in place.
  uint32_t mask = (1u << bits) - 1;
  uint32_t left[kMaxPredictorColors] = {};
  size_t values = static_cast<size_t>(params_.columns) * colors;
  size_t bitPos = 0;
  for (size_t v = 0; v < values; ++v, bitPos += bits) {
    size_t byte = bitPos / 8;
    int shift = 8 - bits - static_cast<int>(bitPos % 8);
    uint32_t value = (row[byte] >> shift) & mask;
    size_t component = v % colors;
    value = (value + left[component]) & mask;
    left[component] = value;
    row[byte] = static_cast<uint8_t>((row[byte] & ~(mask << shift)) | (value << shift));
  }
}

}  // namespace qv
