#include "pdf/filters/FlateDecodeStream.h"

#include "pdf/filters/Inflater.h"

namespace qv {

FlateDecodeStream::FlateDecodeStream(std::unique_ptr<CPDFStream> input,
                                     const PredictorParams& params)
    : DecoderStream(std::move(input)) {
  setDecoder(std::make_unique<Inflater>(source()), &params);
}

}  // namespace qv
