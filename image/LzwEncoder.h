#pragma once

// The variable-width LZW coder of GIF (GIF89a, appendix F): codes of 3 to 12 bits packed
// least significant bit first, a clear code when the 4096-entry table is full, and the bytes
// written as data sub-blocks of 254 bytes, each preceded by its length.
//
// Strings are found through a 5003-entry open-addressing hash keyed by (prefix code, pixel)
// with the primary hash (pixel << 4) ^ prefix and secondary probing by (5003 - hash).
// One encoder writes one image; it borrows the file.

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace qv {

class LzwEncoder {
 public:
  // minCodeSize is 2 to 8; pixels must be below 2^minCodeSize.
  LzwEncoder(std::FILE* out, int minCodeSize);
  LzwEncoder(const LzwEncoder&) = delete;
  LzwEncoder& operator=(const LzwEncoder&) = delete;

  void addPixels(const uint8_t* pixels, size_t count);
  // Writes the last string, the end code, the remaining bits and the last sub-block (not the
  // block terminator). Answers false when any write failed.
  bool finish();

  // Total LZW bytes produced so far (not counting the sub-block lengths).
  uint64_t dataBytes() const { return dataBytes_; }

  static constexpr int kHashSize = 5003;
  static constexpr int kMaxCodes = 4096;
  static constexpr int kBlockSize = 254;

 private:
  void output(int code);
  void emitByte(uint8_t byte);
  void flushBlock();
  void clearTable();

  std::FILE* out_;
  int initBits_;
  int bits_;
  int maxCode_;
  int clearCode_;
  int endCode_;
  int freeCode_;
  bool clearPending_ = false;
  bool started_ = false;
  int prefix_ = 0;

  uint32_t accumulator_ = 0;
  int accumulatedBits_ = 0;

  std::unique_ptr<std::array<int32_t, kHashSize>> keys_;
  std::unique_ptr<std::array<uint16_t, kHashSize>> codes_;

  uint8_t block_[kBlockSize + 1];
  int blockLength_ = 0;
  uint64_t dataBytes_ = 0;
  bool writeFailed_ = false;
};

}  // namespace qv
