#include "pdf/filters/PixelReader.h"

#include "pdf/filters/FilterLimits.h"

namespace qv {

PixelReader::PixelReader(CPDFStream& stream, int width, int nComps, int nBits)
    : stream_(stream), width_(width), nComps_(nComps), nBits_(nBits) {
  bool bitsOk = nBits == 1 || nBits == 2 || nBits == 4 || nBits == 8 || nBits == 16;
  if (!bitsOk || width < 1 || nComps < 1 || nComps > kMaxPredictorColors) {
    return;
  }
  uint64_t values = static_cast<uint64_t>(width) * static_cast<uint64_t>(nComps);
  if ((values * static_cast<uint64_t>(nBits) + 7) / 8 > kMaxPredictorRowBytes) {
    return;
  }
  nVals_ = static_cast<size_t>(values);
  // 1-bit lines unpack whole bytes, so the buffer holds a multiple of 8 values.
  line_.assign(nBits == 1 ? (nVals_ + 7) / 8 * 8 : nVals_, 0);
  index_ = nVals_;
  ok_ = true;
}

void PixelReader::reset() {
  stream_.reset();
  index_ = nVals_;
}

void PixelReader::readLine() {
  if (nBits_ == 1) {
    for (size_t i = 0; i < nVals_; i += 8) {
      int c = stream_.nextChar();
      unsigned byte = c < 0 ? 0 : static_cast<unsigned>(c);
      for (int b = 0; b < 8; ++b) {
        line_[i + b] = static_cast<uint8_t>((byte >> (7 - b)) & 1);
      }
    }
  } else if (nBits_ == 8) {
    for (size_t i = 0; i < nVals_; ++i) {
      int c = stream_.nextChar();
      line_[i] = static_cast<uint8_t>(c < 0 ? 0 : c);
    }
  } else if (nBits_ == 16) {
    for (size_t i = 0; i < nVals_; ++i) {
      int high = stream_.nextChar();
      stream_.nextChar();  // the low byte does not fit an 8-bit component
      line_[i] = static_cast<uint8_t>(high < 0 ? 0 : high);
    }
  } else {
    uint32_t buffer = 0;
    int bits = 0;
    uint32_t mask = (1u << nBits_) - 1;
    for (size_t i = 0; i < nVals_; ++i) {
      if (bits < nBits_) {
        int c = stream_.nextChar();
        buffer = (buffer << 8) | static_cast<uint32_t>(c < 0 ? 0 : c);
        bits += 8;
      }
      bits -= nBits_;
      line_[i] = static_cast<uint8_t>((buffer >> bits) & mask);
    }
  }
  index_ = 0;
}

bool PixelReader::getPixel(uint8_t* out) {
  if (!ok_) {
    return false;
  }
  if (index_ + static_cast<size_t>(nComps_) > nVals_) {
    readLine();
  }
  for (int i = 0; i < nComps_; ++i) {
    out[i] = line_[index_++];
  }
  return true;
}

}  // namespace qv
