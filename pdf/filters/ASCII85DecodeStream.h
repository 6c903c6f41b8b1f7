#pragma once

// The ASCII85Decode filter over its input (decoding in Ascii85Decoder). Owns its input stream (and
// so the chain below it); one thread at a time, with its document.

#include "pdf/filters/DecoderStream.h"

namespace qv {

class ASCII85DecodeStream final : public DecoderStream {
 public:
  explicit ASCII85DecodeStream(std::unique_ptr<CPDFStream> input);
  StreamKind getKind() const override { return StreamKind::ASCII85; }
};

}  // namespace qv
