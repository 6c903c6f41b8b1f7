#pragma once

// The RunLengthDecode filter over its input (decoding in RunLengthDecoder). Owns its input stream
// (and so the chain below it); one thread at a time, with its document.

#include "pdf/filters/DecoderStream.h"

namespace qv {

class RunLengthDecodeStream final : public DecoderStream {
 public:
  explicit RunLengthDecodeStream(std::unique_ptr<CPDFStream> input);
  StreamKind getKind() const override { return StreamKind::RunLength; }
};

}  // namespace qv
