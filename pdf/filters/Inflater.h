#pragma once

// The engine's own inflater: decodes zlib data (RFC 1950) holding Deflate blocks
// (RFC 1951: stored, fixed and dynamic Huffman) read from a borrowed ByteSource. The
// Adler-32 trailer is not checked. Decoded bytes collect in a window that keeps the last
// 32768 bytes for back-references; the window and code tables are allocated once per
// inflater, so decoding allocates nothing per byte.
//
// Input is read no further than the next code needs (at most four bytes ahead), so data
// that follows the compressed stream, such as the rest of a content stream after an inline
// image, stays unread apart from what the zlib trailer covers.
//
// Damaged data ends the output where the damage is found, after a report: a bad header,
// an unknown block type, an over-long repeat in a code table, a code no table holds, or a
// back-reference reaching before the first byte of output.

#include <cstdint>
#include <memory>

#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/ByteSource.h"
#include "pdf/filters/HuffmanTable.h"

namespace qv {

class Inflater final : public ByteDecoder {
 public:
  explicit Inflater(ByteSource& source);

  static constexpr size_t kHistory = 32768;

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override;

 private:
  enum class State { kHeader, kBlockStart, kStored, kCompressed, kEnd };

  static constexpr size_t kChunk = 65536;
  static constexpr size_t kMaxMatch = 258;
  static constexpr size_t kWindowSize = kHistory + kChunk + kMaxMatch;

  void fill();
  void readHeader();
  void startBlock();
  bool readDynamicTables();
  void copyStored();
  void decodeCompressed();

  // Makes at least n bits (n <= 32) available; false when the input ends first.
  bool need(int n) {
    while (bitCount_ < n) {
      if (!pullByte()) {
        return false;
      }
    }
    return true;
  }
  bool pullByte();
  uint32_t takeBits(int n) {
    uint32_t v = static_cast<uint32_t>(bits_) & ((1u << n) - 1);
    bits_ >>= n;
    bitCount_ -= n;
    return v;
  }
  // Decodes one symbol of table; negative on failure (after a report). The common case,
  // a code found by the table's first lookup, stays inline.
  int decodeSymbol(const HuffmanTable& table) {
    if (bitCount_ < HuffmanTable::kMaxBits) {
      refill();
    }
    HuffmanTable::Match m = table.decodeFast(static_cast<uint32_t>(bits_), bitCount_);
    if (m.symbol >= 0) {
      takeBits(m.length);
      return m.symbol;
    }
    return decodeSymbolSlow(table);
  }
  int decodeSymbolSlow(const HuffmanTable& table);
  // Tops the bit buffer up to at most 32 bits, so no more than four bytes are read ahead.
  void refill();

  ByteSource& source_;
  // Not zero-filled: back-references never reach bytes not yet written.
  std::unique_ptr<uint8_t[]> window_;
  size_t writePos_ = 0;
  size_t readPos_ = 0;
  uint64_t bits_ = 0;
  int bitCount_ = 0;
  bool inputEnded_ = false;
  State state_ = State::kHeader;
  bool lastBlock_ = false;
  uint32_t storedLeft_ = 0;
  bool fixedBuilt_ = false;
  HuffmanTable fixedLiterals_;
  HuffmanTable fixedDistances_;
  HuffmanTable dynamicLiterals_;
  HuffmanTable dynamicDistances_;
  const HuffmanTable* literals_ = nullptr;
  const HuffmanTable* distances_ = nullptr;
};

}  // namespace qv
