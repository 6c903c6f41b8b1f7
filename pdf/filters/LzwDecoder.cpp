#include "pdf/filters/LzwDecoder.h"

#include <algorithm>
#include <cstring>

namespace qv {

LzwDecoder::LzwDecoder(ByteSource& source, int earlyChange)
    : source_(source), early_(earlyChange != 0 ? 1 : 0) {
  restart();
}

void LzwDecoder::restart() {
  inputBuffer_ = 0;
  inputBits_ = 0;
  ended_ = false;
  clearTable();
}

void LzwDecoder::clearTable() {
  nextCode_ = 258;
  nextBits_ = 9;
  sequenceLength_ = 0;
  sequenceIndex_ = 0;
  first_ = true;
}

int LzwDecoder::readCode() {
  while (inputBits_ < nextBits_) {
    int c = source_.nextByte();
    if (c < 0) {
      return -1;
    }
    inputBuffer_ = (inputBuffer_ << 8) | static_cast<uint32_t>(c);
    inputBits_ += 8;
  }
  inputBits_ -= nextBits_;
  return static_cast<int>((inputBuffer_ >> inputBits_) & ((1u << nextBits_) - 1));
}

bool LzwDecoder::nextSequence() {
  int code;
  for (;;) {
    code = readCode();
    if (code < 0 || code == 257) {
      return false;
    }
    if (code != 256) {
      break;
    }
    clearTable();
  }
  if (nextCode_ >= kTableSize) {
    report("Bad LZW stream - expected clear-table code");
    clearTable();
  }
  int newLength = sequenceLength_ + 1;
  if (code < 256) {
    sequence_[0] = static_cast<uint8_t>(code);
    sequenceLength_ = 1;
  } else if (code < nextCode_ && code >= 258) {
    int length = table_[code].length;
    int link = code;
    for (int i = length - 1; i > 0; --i) {
      sequence_[i] = table_[link].last;
      link = table_[link].prefix;
    }
    sequence_[0] = static_cast<uint8_t>(link);
    sequenceLength_ = length;
  } else if (code == nextCode_ && !first_ && sequenceLength_ > 0 && sequenceLength_ < kTableSize) {
    // The code being defined: the previous sequence followed by its own first byte.
    sequence_[sequenceLength_] = sequence_[0];
    ++sequenceLength_;
  } else {
    report("Bad LZW stream - unexpected code");
    return false;
  }
  sequenceIndex_ = 0;
  if (first_) {
    first_ = false;
  } else {
    table_[nextCode_] = {static_cast<uint16_t>(newLength), static_cast<uint16_t>(previousCode_),
                         sequence_[0]};
    ++nextCode_;
    if (nextCode_ + early_ == 512) {
      nextBits_ = 10;
    } else if (nextCode_ + early_ == 1024) {
      nextBits_ = 11;
    } else if (nextCode_ + early_ == 2048) {
      nextBits_ = 12;
    }
  }
  previousCode_ = code;
  return true;
}

size_t LzwDecoder::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (sequenceIndex_ < sequenceLength_) {
      size_t k = std::min<size_t>(max - n, static_cast<size_t>(sequenceLength_ - sequenceIndex_));
      std::memcpy(out + n, sequence_.data() + sequenceIndex_, k);
      sequenceIndex_ += static_cast<int>(k);
      n += k;
      continue;
    }
    if (ended_ || !nextSequence()) {
      ended_ = true;
      break;
    }
  }
  return n;
}

}  // namespace qv
