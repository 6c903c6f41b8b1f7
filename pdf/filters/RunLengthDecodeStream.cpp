#include "pdf/filters/RunLengthDecodeStream.h"

#include "pdf/filters/RunLengthDecoder.h"

namespace qv {

RunLengthDecodeStream::RunLengthDecodeStream(std::unique_ptr<CPDFStream> input)
    : DecoderStream(std::move(input)) {
  setDecoder(std::make_unique<RunLengthDecoder>(source()));
}

}  // namespace qv
