#include "pdf/filters/ASCII85DecodeStream.h"

#include "pdf/filters/Ascii85Decoder.h"

namespace qv {

ASCII85DecodeStream::ASCII85DecodeStream(std::unique_ptr<CPDFStream> input)
    : DecoderStream(std::move(input)) {
  setDecoder(std::make_unique<Ascii85Decoder>(source()));
}

}  // namespace qv
