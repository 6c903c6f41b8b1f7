#pragma once

// ASCIIHexDecode (PDF 1.7, 7.4.2): pairs of hexadecimal digits, whitespace skipped, ">"
// ends the data. A digit pair cut short by ">" counts its missing digit as 0; data that
// stops without ">" yields one last byte 0. Invalid characters are reported and count as
// 0. Reads from a borrowed ByteSource.

#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/ByteSource.h"

namespace qv {

class AsciiHexDecoder final : public ByteDecoder {
 public:
  explicit AsciiHexDecoder(ByteSource& source) : source_(source) {}

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override { ended_ = false; }

 private:
  int nextNonSpace();
  int digitValue(int c);

  ByteSource& source_;
  bool ended_ = false;
};

}  // namespace qv
