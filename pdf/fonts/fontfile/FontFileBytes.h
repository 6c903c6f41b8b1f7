#pragma once

// Bounds-checked big-endian reads from a font program held in memory: every read outside the
// buffer gives 0 and marks the view as failed, so readers walk hostile offsets safely and
// check failed() where a bad read must stop them. A small value borrowed from the reader.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

class FontFileBytes {
 public:
  explicit FontFileBytes(std::string_view bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }
  bool failed() const { return failed_; }
  bool has(size_t pos, size_t count) const {
    return pos <= bytes_.size() && count <= bytes_.size() - pos;
  }

  uint32_t u8(size_t pos) const { return uint(pos, 1); }
  uint32_t u16(size_t pos) const { return uint(pos, 2); }
  int32_t s16(size_t pos) const { return static_cast<int16_t>(uint(pos, 2)); }
  uint32_t u32(size_t pos) const { return uint(pos, 4); }
  // An unsigned value of `size` (1..4) bytes.
  uint32_t uint(size_t pos, size_t size) const {
    if (!has(pos, size)) {
      failed_ = true;
      return 0;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
      value = (value << 8) | static_cast<uint8_t>(bytes_[pos + i]);
    }
    return value;
  }
  // Bytes pos..pos+count, cut at the end of the buffer.
  std::string_view sub(size_t pos, size_t count) const {
    if (pos > bytes_.size()) {
      return {};
    }
    return bytes_.substr(pos, count);
  }

 private:
  std::string_view bytes_;
  mutable bool failed_ = false;
};

}  // namespace qv
