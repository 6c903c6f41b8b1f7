#include "image/LzwEncoder.h"

namespace qv {

LzwEncoder::LzwEncoder(std::FILE* out, int minCodeSize)
    : out_(out),
      initBits_(minCodeSize + 1),
      bits_(minCodeSize + 1),
      maxCode_((1 << (minCodeSize + 1)) - 1),
      clearCode_(1 << minCodeSize),
      endCode_((1 << minCodeSize) + 1),
      freeCode_((1 << minCodeSize) + 2),
      keys_(std::make_unique<std::array<int32_t, kHashSize>>()),
      codes_(std::make_unique<std::array<uint16_t, kHashSize>>()) {
  keys_->fill(-1);
}

void LzwEncoder::clearTable() {
  keys_->fill(-1);
  freeCode_ = clearCode_ + 2;
  clearPending_ = true;
  output(clearCode_);
}

void LzwEncoder::addPixels(const uint8_t* pixels, size_t count) {
  size_t i = 0;
  if (!started_ && count > 0) {
    // The stream opens with a clear code so that decoders start from a fresh table.
    started_ = true;
    output(clearCode_);
    prefix_ = pixels[i++];
  }
  for (; i < count; ++i) {
    const int pixel = pixels[i];
    const int32_t key = (pixel << 12) + prefix_;
    int slot = (pixel << 4) ^ prefix_;
    auto& keys = *keys_;
    if (keys[slot] == key) {
      prefix_ = (*codes_)[slot];
      continue;
    }
    bool found = false;
    if (keys[slot] >= 0) {
      const int step = slot == 0 ? 1 : kHashSize - slot;
      do {
        slot -= step;
        if (slot < 0) {
          slot += kHashSize;
        }
        if (keys[slot] == key) {
          found = true;
          break;
        }
      } while (keys[slot] >= 0);
    }
    if (found) {
      prefix_ = (*codes_)[slot];
      continue;
    }
    output(prefix_);
    prefix_ = pixel;
    if (freeCode_ < kMaxCodes) {
      (*codes_)[slot] = static_cast<uint16_t>(freeCode_++);
      keys[slot] = key;
    } else {
      clearTable();
    }
  }
}

void LzwEncoder::output(int code) {
  accumulator_ |= static_cast<uint32_t>(code) << accumulatedBits_;
  accumulatedBits_ += bits_;
  while (accumulatedBits_ >= 8) {
    emitByte(static_cast<uint8_t>(accumulator_));
    accumulator_ >>= 8;
    accumulatedBits_ -= 8;
  }
  // Widen the codes once the next free code no longer fits, or go back to the initial width
  // after a clear code.
  if (clearPending_) {
    bits_ = initBits_;
    maxCode_ = (1 << bits_) - 1;
    clearPending_ = false;
  } else if (freeCode_ > maxCode_) {
    ++bits_;
    maxCode_ = bits_ == 12 ? kMaxCodes : (1 << bits_) - 1;
  }
}

void LzwEncoder::emitByte(uint8_t byte) {
  block_[1 + blockLength_++] = byte;
  ++dataBytes_;
  if (blockLength_ == kBlockSize) {
    flushBlock();
  }
}

void LzwEncoder::flushBlock() {
  if (blockLength_ == 0) {
    return;
  }
  block_[0] = static_cast<uint8_t>(blockLength_);
  const size_t size = static_cast<size_t>(blockLength_) + 1;
  if (std::fwrite(block_, 1, size, out_) != size) {
    writeFailed_ = true;
  }
  blockLength_ = 0;
}

bool LzwEncoder::finish() {
  if (!started_) {
    started_ = true;
    output(clearCode_);
  } else {
    output(prefix_);
  }
  output(endCode_);
  if (accumulatedBits_ > 0) {
    emitByte(static_cast<uint8_t>(accumulator_));
    accumulator_ = 0;
    accumulatedBits_ = 0;
  }
  flushBlock();
  return !writeFailed_ && std::fflush(out_) == 0;
}

}  // namespace qv
