#include "pdf/filters/Inflater.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

// RFC 1951, 3.2.5: base values and extra bits of the length and distance codes.
constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// RFC 1951, 3.2.7: the order in which code-length code lengths are stored.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

constexpr int kMaxLiteralCodes = 288;
constexpr int kMaxDistanceCodes = 30;
constexpr int kMaxCodeLengthCodes = 19;

}  // namespace

Inflater::Inflater(ByteSource& source) : source_(source), window_(new uint8_t[kWindowSize]) {}

void Inflater::restart() {
  writePos_ = 0;
  readPos_ = 0;
  bits_ = 0;
  bitCount_ = 0;
  inputEnded_ = false;
  state_ = State::kHeader;
  lastBlock_ = false;
  storedLeft_ = 0;
}

size_t Inflater::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (readPos_ < writePos_) {
      size_t k = std::min(max - n, writePos_ - readPos_);
      std::memcpy(out + n, window_.get() + readPos_, k);
      readPos_ += k;
      n += k;
      continue;
    }
    if (state_ == State::kEnd) {
      break;
    }
    if (writePos_ + kMaxMatch > kWindowSize) {
      // Everything is delivered: keep only the history that back-references may reach.
      std::memmove(window_.get(), window_.get() + writePos_ - kHistory, kHistory);
      writePos_ = readPos_ = kHistory;
    }
    fill();
  }
  return n;
}

bool Inflater::pullByte() {
  if (inputEnded_) {
    return false;
  }
  int c = source_.nextByte();
  if (c < 0) {
    inputEnded_ = true;
    return false;
  }
  bits_ |= static_cast<uint64_t>(c) << bitCount_;
  bitCount_ += 8;
  return true;
}

void Inflater::fill() {
  switch (state_) {
    case State::kHeader:
      readHeader();
      break;
    case State::kBlockStart:
      startBlock();
      break;
    case State::kStored:
      copyStored();
      break;
    case State::kCompressed:
      decodeCompressed();
      break;
    case State::kEnd:
      break;
  }
}

void Inflater::readHeader() {
  state_ = State::kEnd;
  if (!need(16)) {
    return;  // no data at all: an empty stream
  }
  uint32_t cmf = takeBits(8);
  uint32_t flg = takeBits(8);
  if ((cmf & 0x0f) != 8) {
    report("Unknown compression method in flate stream");
  } else if ((cmf * 256 + flg) % 31 != 0) {
    report("Bad FCHECK in flate stream");
  } else if (flg & 0x20) {
    report("FDICT bit set in flate stream");
  } else {
    state_ = State::kBlockStart;
  }
}

void Inflater::startBlock() {
  state_ = State::kEnd;
  if (!need(3)) {
    report("Bad block header in flate stream");
    return;
  }
  lastBlock_ = takeBits(1) != 0;
  switch (takeBits(2)) {
    case 0: {
      takeBits(bitCount_ % 8);  // a stored block starts at a byte boundary
      if (!need(32)) {
        report("Unexpected end of file in flate stream");
        return;
      }
      uint32_t len = takeBits(16);
      uint32_t nlen = takeBits(16);
      if (nlen != (~len & 0xffff)) {
        report("Bad uncompressed block length in flate stream");
      }
      storedLeft_ = len;
      state_ = State::kStored;
      break;
    }
    case 1:
      if (!fixedBuilt_) {
        uint8_t lengths[kMaxLiteralCodes];
        std::fill(lengths, lengths + 144, 8);
        std::fill(lengths + 144, lengths + 256, 9);
        std::fill(lengths + 256, lengths + 280, 7);
        std::fill(lengths + 280, lengths + 288, 8);
        fixedLiterals_.build(lengths, kMaxLiteralCodes);
        std::fill(lengths, lengths + kMaxDistanceCodes, 5);
        fixedDistances_.build(lengths, kMaxDistanceCodes);
        fixedBuilt_ = true;
      }
      literals_ = &fixedLiterals_;
      distances_ = &fixedDistances_;
      state_ = State::kCompressed;
      break;
    case 2:
      if (!readDynamicTables()) {
        report("Bad dynamic code table in flate stream");
        return;
      }
      literals_ = &dynamicLiterals_;
      distances_ = &dynamicDistances_;
      state_ = State::kCompressed;
      break;
    default:
      report("Bad block header in flate stream");
      break;
  }
}

bool Inflater::readDynamicTables() {
  if (!need(14)) {
    return false;
  }
  int literalCount = static_cast<int>(takeBits(5)) + 257;
  int distanceCount = static_cast<int>(takeBits(5)) + 1;
  int codeLengthCount = static_cast<int>(takeBits(4)) + 4;
  if (literalCount > kMaxLiteralCodes || distanceCount > kMaxDistanceCodes ||
      codeLengthCount > kMaxCodeLengthCodes) {
    return false;
  }
  uint8_t codeLengths[kMaxCodeLengthCodes] = {};
  for (int i = 0; i < codeLengthCount; ++i) {
    if (!need(3)) {
      return false;
    }
    codeLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(takeBits(3));
  }
  // The code-length code is only needed here; the dynamic distance table is rebuilt
  // below, so it serves as scratch space.
  HuffmanTable& codeLengthTable = dynamicDistances_;
  codeLengthTable.build(codeLengths, kMaxCodeLengthCodes);

  uint8_t lengths[kMaxLiteralCodes + kMaxDistanceCodes] = {};
  int total = literalCount + distanceCount;
  int previous = 0;
  for (int i = 0; i < total;) {
    if (bitCount_ < HuffmanTable::kMaxBits) {
      refill();
    }
    HuffmanTable::Match m = codeLengthTable.decode(static_cast<uint32_t>(bits_), bitCount_);
    if (m.symbol < 0) {
      return false;
    }
    takeBits(m.length);
    int value = 0;
    int repeat = 1;
    if (m.symbol < 16) {
      value = previous = m.symbol;
    } else if (m.symbol == 16) {
      if (!need(2)) {
        return false;
      }
      value = previous;
      repeat = 3 + static_cast<int>(takeBits(2));
    } else if (m.symbol == 17) {
      if (!need(3)) {
        return false;
      }
      repeat = 3 + static_cast<int>(takeBits(3));
      previous = 0;
    } else {
      if (!need(7)) {
        return false;
      }
      repeat = 11 + static_cast<int>(takeBits(7));
      previous = 0;
    }
    if (repeat > total - i) {
      return false;  // a repeat that runs past the declared number of codes
    }
    std::fill(lengths + i, lengths + i + repeat, static_cast<uint8_t>(value));
    i += repeat;
  }
  dynamicLiterals_.build(lengths, literalCount);
  dynamicDistances_.build(lengths + literalCount, distanceCount);
  return true;
}

void Inflater::copyStored() {
  while (storedLeft_ > 0 && writePos_ < kWindowSize) {
    if (bitCount_ >= 8) {
      window_[writePos_++] = static_cast<uint8_t>(takeBits(8));
      --storedLeft_;
      continue;
    }
    size_t want = std::min<size_t>(storedLeft_, kWindowSize - writePos_);
    size_t got = inputEnded_ ? 0 : source_.readBytes(window_.get() + writePos_, want);
    writePos_ += got;
    storedLeft_ -= static_cast<uint32_t>(got);
    if (got < want) {
      inputEnded_ = true;
      report("Unexpected end of file in flate stream");
      state_ = State::kEnd;
      return;
    }
  }
  if (storedLeft_ == 0) {
    state_ = lastBlock_ ? State::kEnd : State::kBlockStart;
  }
}

void Inflater::refill() {
  while (bitCount_ <= 24 && pullByte()) {
  }
}

int Inflater::decodeSymbolSlow(const HuffmanTable& table) {
  HuffmanTable::Match m = table.decode(static_cast<uint32_t>(bits_), bitCount_);
  if (m.symbol >= 0) {
    takeBits(m.length);
    return m.symbol;
  }
  if (m.symbol == HuffmanTable::kNeedMoreBits) {
    report("Unexpected end of file in flate stream");
  } else {
    report("Bad code (%04x) in flate stream", static_cast<unsigned>(bits_ & 0x7fff));
  }
  return -1;
}

void Inflater::decodeCompressed() {
  uint8_t* window = window_.get();
  while (writePos_ + kMaxMatch <= kWindowSize) {
    int symbol = decodeSymbol(*literals_);
    if (symbol < 0) {
      state_ = State::kEnd;
      return;
    }
    if (symbol < 256) {
      window[writePos_++] = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == 256) {
      state_ = lastBlock_ ? State::kEnd : State::kBlockStart;
      return;
    }
    int lengthCode = symbol - 257;
    if (lengthCode >= 29) {
      report("Bad code (%04x) in flate stream", static_cast<unsigned>(symbol));
      state_ = State::kEnd;
      return;
    }
    int extra = kLengthExtra[lengthCode];
    if (!need(extra)) {
      report("Unexpected end of file in flate stream");
      state_ = State::kEnd;
      return;
    }
    size_t length = kLengthBase[lengthCode] + takeBits(extra);
    int distanceCode = decodeSymbol(*distances_);
    if (distanceCode < 0) {
      state_ = State::kEnd;
      return;
    }
    if (distanceCode >= 30) {
      report("Bad code (%04x) in flate stream", static_cast<unsigned>(distanceCode));
      state_ = State::kEnd;
      return;
    }
    extra = kDistanceExtra[distanceCode];
    if (!need(extra)) {
      report("Unexpected end of file in flate stream");
      state_ = State::kEnd;
      return;
    }
    size_t distance = kDistanceBase[distanceCode] + takeBits(extra);
    if (distance > writePos_) {
      report("Back-reference before the start of data in flate stream");
      state_ = State::kEnd;
      return;
    }
    uint8_t* dst = window + writePos_;
    const uint8_t* src = dst - distance;
    if (distance >= length) {
      std::memcpy(dst, src, length);
    } else {
      for (size_t i = 0; i < length; ++i) {
        dst[i] = src[i];  // overlapping: the copy repeats the last `distance` bytes
      }
    }
    writePos_ += length;
  }
}

}  // namespace qv
