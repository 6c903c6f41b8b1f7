#include "pdf/filters/ASCIIHexDecodeStream.h"

#include "pdf/filters/AsciiHexDecoder.h"

namespace qv {

ASCIIHexDecodeStream::ASCIIHexDecodeStream(std::unique_ptr<CPDFStream> input)
    : DecoderStream(std::move(input)) {
  setDecoder(std::make_unique<AsciiHexDecoder>(source()));
}

}  // namespace qv
