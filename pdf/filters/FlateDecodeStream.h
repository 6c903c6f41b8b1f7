#pragma once

// The FlateDecode filter over its input (decoding in the engine's own Inflater), with
// its row predictor when the parameters name one. Owns its input stream (and so the chain below
// it); one thread at a time, with its document.

#include "pdf/filters/DecoderStream.h"

namespace qv {

class FlateDecodeStream final : public DecoderStream {
 public:
  FlateDecodeStream(std::unique_ptr<CPDFStream> input, const PredictorParams& params);
  StreamKind getKind() const override { return StreamKind::Flate; }
  // The next byte before row prediction.
  int getRawChar() override { return rawByte(); }
};

}  // namespace qv
