#include "pdf/filters/LZWDecodeStream.h"

#include "pdf/filters/LzwDecoder.h"

namespace qv {

LZWDecodeStream::LZWDecodeStream(std::unique_ptr<CPDFStream> input, const PredictorParams& params,
                                 int earlyChange)
    : DecoderStream(std::move(input)) {
  setDecoder(std::make_unique<LzwDecoder>(source(), earlyChange), &params);
}

}  // namespace qv
