#pragma once

// RunLengthDecode (PDF 1.7, 7.4.5): a length byte 0-127 copies the next length + 1 bytes,
// 129-255 repeats the next byte 257 - length times, and 128 ends the data. Reads from a
// borrowed ByteSource.

#include <cstdint>

#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/ByteSource.h"

namespace qv {

class RunLengthDecoder final : public ByteDecoder {
 public:
  explicit RunLengthDecoder(ByteSource& source) : source_(source) {}

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override;

 private:
  ByteSource& source_;
  int left_ = 0;       // bytes still due from the current run
  int repeated_ = -1;  // the byte of a repeat run, -1 in a literal run
  bool ended_ = false;
};

}  // namespace qv
