#pragma once

// The input side of a decoder core: a pull source of bytes. The stream filters adapt
// their input stream to it; tests, fuzzers and benchmarks use SpanByteSource. A source is
// borrowed by the decoder that reads it and must outlive it.

#include <cstddef>
#include <cstdint>

namespace qv {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The next byte (0-255), or -1 at the end of the data.
  virtual int nextByte() = 0;

  // Up to max bytes into out; fewer only at the end of the data. Sources that can copy
  // in bulk override it.
  virtual size_t readBytes(uint8_t* out, size_t max) {
    size_t n = 0;
    while (n < max) {
      int c = nextByte();
      if (c < 0) {
        break;
      }
      out[n++] = static_cast<uint8_t>(c);
    }
    return n;
  }
};

}  // namespace qv
