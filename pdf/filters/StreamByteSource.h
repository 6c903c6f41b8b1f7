#pragma once

// Adapts a CPDFStream (borrowed: the filter that owns both keeps it alive) to the
// ByteSource a decoder core reads.

#include "pdf/core/CPDFStream.h"
#include "pdf/filters/ByteSource.h"

namespace qv {

class StreamByteSource final : public ByteSource {
 public:
  explicit StreamByteSource(CPDFStream* stream) : stream_(stream) {}

  int nextByte() override { return stream_ ? stream_->nextChar() : -1; }
  size_t readBytes(uint8_t* out, size_t max) override {
    return stream_ ? stream_->read(out, max) : 0;
  }

 private:
  CPDFStream* stream_;
};

}  // namespace qv
