#include "pdf/filters/HuffmanTable.h"

namespace qv {

namespace {

uint32_t reverseBits(uint32_t code, int length) {
  uint32_t out = 0;
  for (int i = 0; i < length; ++i) {
    out = (out << 1) | (code & 1);
    code >>= 1;
  }
  return out;
}

}  // namespace

void HuffmanTable::build(const uint8_t* lengths, int count) {
  fast_.fill(0);
  counts_.fill(0);
  for (int s = 0; s < count; ++s) {
    ++counts_[lengths[s]];
  }
  counts_[0] = 0;
  std::array<uint16_t, kMaxBits + 2> offsets{};
  for (int len = 1; len <= kMaxBits; ++len) {
    offsets[len + 1] = static_cast<uint16_t>(offsets[len] + counts_[len]);
  }
  for (int s = 0; s < count; ++s) {
    if (lengths[s] != 0) {
      sorted_[offsets[lengths[s]]++] = static_cast<uint16_t>(s);
    }
  }
  // Fill the fast table in canonical order, shortest codes first. An entry already taken
  // by a shorter code keeps it: that code is the one a bit-by-bit reader finds first.
  uint32_t first = 0;
  int index = 0;
  for (int len = 1; len <= kFastBits; ++len) {
    for (int k = 0; k < counts_[len]; ++k) {
      uint32_t code = first + static_cast<uint32_t>(k);
      if (code >= (1u << len)) {
        break;  // over-subscribed: the remaining codes of this length cannot be read
      }
      uint32_t entry =
          (static_cast<uint32_t>(sorted_[index + k]) << 8) | static_cast<uint32_t>(len);
      for (uint32_t i = reverseBits(code, len); i <= kFastMask; i += 1u << len) {
        if (fast_[i] == 0) {
          fast_[i] = entry;
        }
      }
    }
    index += counts_[len];
    first = (first + counts_[len]) << 1;
  }
}

HuffmanTable::Match HuffmanTable::decodeSlow(uint32_t bits, int available) const {
  uint32_t code = 0;
  uint32_t first = 0;
  int index = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    if (len > available) {
      return {kNeedMoreBits, 0};
    }
    code |= (bits >> (len - 1)) & 1;
    uint32_t count = counts_[len];
    if (code >= first && code - first < count) {
      return {sorted_[index + static_cast<int>(code - first)], len};
    }
    index += static_cast<int>(count);
    first = (first + count) << 1;
    code <<= 1;
  }
  return {kNoCode, kMaxBits};
}

}  // namespace qv
