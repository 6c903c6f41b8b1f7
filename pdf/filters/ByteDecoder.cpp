#include "pdf/filters/ByteDecoder.h"

#include <cstdarg>
#include <cstdio>

namespace qv {

size_t ByteDecoder::read(uint8_t* out, size_t max) {
  if (max == 0) {
    return 0;
  }
  if (delivered_ >= limit_) {
    if (!limitReported_) {
      limitReported_ = true;
      report("Decoded data exceeds %llu bytes; stream truncated",
             static_cast<unsigned long long>(limit_));
    }
    return 0;
  }
  if (max > limit_ - delivered_) {
    max = static_cast<size_t>(limit_ - delivered_);
  }
  size_t n = produce(out, max);
  delivered_ += n;
  return n;
}

void ByteDecoder::reset() {
  delivered_ = 0;
  limitReported_ = false;
  restart();
}

void ByteDecoder::report(const char* format, ...) const {
  if (!sink_) {
    return;
  }
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  sink_(buffer);
}

}  // namespace qv
