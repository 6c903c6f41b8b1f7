#pragma once

// ASCII85Decode (PDF 1.7, 7.4.3): groups of five characters "!" to "u" give four bytes,
// "z" gives four zero bytes, "~" (or the end of the data) ends it, and a final group of
// k characters gives k - 1 bytes. White-space characters are skipped wherever they stand.
// Reads from a borrowed ByteSource.

#include <cstdint>

#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/ByteSource.h"

namespace qv {

class Ascii85Decoder final : public ByteDecoder {
 public:
  explicit Ascii85Decoder(ByteSource& source) : source_(source) {}

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override;

 private:
  int nextNonSpace();
  void decodeGroup();

  ByteSource& source_;
  uint8_t bytes_[4] = {};
  int index_ = 0;
  int count_ = 0;
  bool ended_ = false;
};

}  // namespace qv
