#pragma once

// The ASCIIHexDecode filter over its input (decoding in AsciiHexDecoder). Owns its input stream
// (and so the chain below it); one thread at a time, with its document.

#include "pdf/filters/DecoderStream.h"

namespace qv {

class ASCIIHexDecodeStream final : public DecoderStream {
 public:
  explicit ASCIIHexDecodeStream(std::unique_ptr<CPDFStream> input);
  StreamKind getKind() const override { return StreamKind::ASCIIHex; }
};

}  // namespace qv
