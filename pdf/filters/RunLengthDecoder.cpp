#include "pdf/filters/RunLengthDecoder.h"

namespace qv {

void RunLengthDecoder::restart() {
  left_ = 0;
  repeated_ = -1;
  ended_ = false;
}

size_t RunLengthDecoder::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max && !ended_) {
    if (left_ == 0) {
      int length = source_.nextByte();
      if (length < 0 || length == 128) {
        ended_ = true;
        break;
      }
      if (length < 128) {
        left_ = length + 1;
        repeated_ = -1;
      } else {
        repeated_ = source_.nextByte();
        if (repeated_ < 0) {
          ended_ = true;
          break;
        }
        left_ = 257 - length;
      }
    }
    if (repeated_ >= 0) {
      while (left_ > 0 && n < max) {
        out[n++] = static_cast<uint8_t>(repeated_);
        --left_;
      }
    } else {
      size_t want = static_cast<size_t>(left_) < max - n ? static_cast<size_t>(left_) : max - n;
      size_t got = source_.readBytes(out + n, want);
      n += got;
      left_ -= static_cast<int>(got);
      if (got < want) {
        ended_ = true;
      }
    }
  }
  return n;
}

}  // namespace qv
