#pragma once

// A canonical Huffman code of a Deflate block (RFC 1951, 3.2.2), built from code lengths
// and decoded least significant bit first. Codes of up to kFastBits bits are found with one
// lookup in a table indexed by the next kFastBits input bits; longer codes fall back to a
// walk over the code lengths. Both paths accept the first (shortest) length whose range of
// codes contains the bits read, so a damaged, over-subscribed code decodes the same way
// either path is taken. Plain value, owned by the inflater.

#include <array>
#include <cstdint>

namespace qv {

class HuffmanTable {
 public:
  static constexpr int kMaxBits = 15;
  static constexpr int kFastBits = 10;
  static constexpr int kMaxSymbols = 288;

  // Result of a lookup: the symbol and the code's length in bits.
  struct Match {
    int symbol;
    int length;
  };
  // Negative symbols of a Match.
  static constexpr int kNeedMoreBits = -1;  // the bits given end before a code is complete
  static constexpr int kNoCode = -2;        // no code of up to 15 bits matches

  // Builds the code for lengths[0..count) (each 0-15, 0 = unused). count <= kMaxSymbols.
  void build(const uint8_t* lengths, int count);

  // Decodes the code at the start of bits (the next input bit in bit 0), of which only
  // the lowest available bits are valid.
  Match decode(uint32_t bits, int available) const {
    uint32_t entry = fast_[bits & kFastMask];
    if (entry != 0 && static_cast<int>(entry & 0xff) <= available) {
      return {static_cast<int>(entry >> 8), static_cast<int>(entry & 0xff)};
    }
    return decodeSlow(bits, available);
  }

  // The first-level lookup alone: a negative symbol when the code is longer than
  // kFastBits or more bits than available are needed (then call decode).
  Match decodeFast(uint32_t bits, int available) const {
    uint32_t entry = fast_[bits & kFastMask];
    if (entry != 0 && static_cast<int>(entry & 0xff) <= available) {
      return {static_cast<int>(entry >> 8), static_cast<int>(entry & 0xff)};
    }
    return {kNeedMoreBits, 0};
  }

 private:
  static constexpr uint32_t kFastMask = (1u << kFastBits) - 1;

  Match decodeSlow(uint32_t bits, int available) const;

  // (symbol << 8) | length for codes of up to kFastBits bits; 0 sends to decodeSlow.
  std::array<uint32_t, 1u << kFastBits> fast_{};
  std::array<uint16_t, kMaxBits + 1> counts_{};
  // Symbols sorted by code length, then by value: the canonical code order.
  std::array<uint16_t, kMaxSymbols> sorted_{};
};

}  // namespace qv
