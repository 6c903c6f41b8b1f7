#pragma once

// A ByteSource over a borrowed block of memory; the memory must outlive the source.

#include <algorithm>
#include <cstring>
#include <span>

#include "pdf/filters/ByteSource.h"

namespace qv {

class SpanByteSource final : public ByteSource {
 public:
  explicit SpanByteSource(std::span<const uint8_t> data) : data_(data) {}

  int nextByte() override { return pos_ < data_.size() ? data_[pos_++] : -1; }

  size_t readBytes(uint8_t* out, size_t max) override {
    size_t n = std::min(max, data_.size() - pos_);
    if (n > 0) {
      std::memcpy(out, data_.data() + pos_, n);
    }
    pos_ += n;
    return n;
  }

  void rewind() { pos_ = 0; }
  size_t position() const { return pos_; }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace qv
