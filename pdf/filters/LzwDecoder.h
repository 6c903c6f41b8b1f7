#pragma once

// LZW decoding as PDF uses it (PDF 1.7, 7.4.4): codes of 9 to 12 bits, most significant
// bit first, 256 clears the table, 257 ends the data, and EarlyChange (1 by default)
// widens the codes one entry early. The string table is a fixed array of 4097 entries,
// each a link to its prefix entry and its last byte; a code expands backwards into a fixed
// sequence buffer, so decoding allocates nothing. Reads from a borrowed ByteSource.

#include <array>
#include <cstdint>

#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/ByteSource.h"

namespace qv {

class LzwDecoder final : public ByteDecoder {
 public:
  LzwDecoder(ByteSource& source, int earlyChange);

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override;

 private:
  static constexpr int kTableSize = 4097;

  struct Entry {
    uint16_t length;
    uint16_t prefix;
    uint8_t last;
  };

  void clearTable();
  int readCode();
  bool nextSequence();

  ByteSource& source_;
  int early_;
  std::array<Entry, kTableSize> table_{};
  std::array<uint8_t, kTableSize> sequence_{};
  int sequenceLength_ = 0;
  int sequenceIndex_ = 0;
  int nextCode_ = 258;
  int nextBits_ = 9;
  int previousCode_ = 0;
  bool first_ = true;
  uint32_t inputBuffer_ = 0;
  int inputBits_ = 0;
  bool ended_ = false;
};

}  // namespace qv
