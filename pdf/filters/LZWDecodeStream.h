#pragma once

// The LZWDecode filter over its input (decoding in LzwDecoder), with its row predictor
// when the parameters name one. Owns its input stream (and so the chain below it); one thread at a
// time, with its document.

#include "pdf/filters/DecoderStream.h"

namespace qv {

class LZWDecodeStream final : public DecoderStream {
 public:
  LZWDecodeStream(std::unique_ptr<CPDFStream> input, const PredictorParams& params,
                  int earlyChange);
  StreamKind getKind() const override { return StreamKind::LZW; }
  // The next byte before row prediction.
  int getRawChar() override { return rawByte(); }
};

}  // namespace qv
