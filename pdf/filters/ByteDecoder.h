#pragma once

// Base of the decoder cores: a decoder turns the bytes of a ByteSource (or of another
// decoder) into decoded bytes, delivered in chunks through read(). The cores know nothing
// of documents or streams, so tests, fuzzers and benchmarks drive them on plain memory;
// the stream filters wrap them. A decoder borrows its source and is used by one thread.
//
// The base counts what it delivers and ends the data at a limit (kMaxDecodedStreamBytes
// unless set), so no decoder can be made to produce unbounded output. Problems found in
// the data go to an optional error sink as finished messages.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "pdf/filters/FilterLimits.h"

namespace qv {

class ByteDecoder {
 public:
  using ErrorSink = std::function<void(const std::string& message)>;

  ByteDecoder() = default;
  virtual ~ByteDecoder() = default;
  ByteDecoder(const ByteDecoder&) = delete;
  ByteDecoder& operator=(const ByteDecoder&) = delete;

  // Up to max decoded bytes into out; 0 means the end of the data. Fewer than max bytes
  // do not mean the end: call again until 0.
  size_t read(uint8_t* out, size_t max);

  // One decoded byte, or -1 at the end of the data.
  int readByte() {
    uint8_t b;
    return read(&b, 1) == 1 ? b : -1;
  }

  // Starts decoding again from the beginning. The owner restarts the source first.
  void reset();

  void setErrorSink(ErrorSink sink) { sink_ = std::move(sink); }
  void setOutputLimit(uint64_t limit) { limit_ = limit; }
  uint64_t delivered() const { return delivered_; }

 protected:
  // Decodes up to max bytes into out (max > 0); 0 only at the end of the data.
  virtual size_t produce(uint8_t* out, size_t max) = 0;
  // Clears the decoder's own state for a new start.
  virtual void restart() = 0;

  [[gnu::format(printf, 2, 3)]] void report(const char* format, ...) const;

 private:
  ErrorSink sink_;
  uint64_t limit_ = kMaxDecodedStreamBytes;
  uint64_t delivered_ = 0;
  bool limitReported_ = false;
};

}  // namespace qv
