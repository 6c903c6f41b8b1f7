#include "pdf/filters/DecodeBytes.h"

#include <memory>

#include "pdf/filters/Ascii85Decoder.h"
#include "pdf/filters/AsciiHexDecoder.h"
#include "pdf/filters/Inflater.h"
#include "pdf/filters/LzwDecoder.h"
#include "pdf/filters/RunLengthDecoder.h"
#include "pdf/filters/SpanByteSource.h"

namespace qv {

DecodeResult decodeBytes(DecoderKind kind, std::span<const uint8_t> input,
                         const DecodeOptions& options) {
  DecodeResult result;
  SpanByteSource source(input);
  std::unique_ptr<ByteDecoder> core;
  switch (kind) {
    case DecoderKind::kAsciiHex:
      core = std::make_unique<AsciiHexDecoder>(source);
      break;
    case DecoderKind::kAscii85:
      core = std::make_unique<Ascii85Decoder>(source);
      break;
    case DecoderKind::kLzw:
      core = std::make_unique<LzwDecoder>(source, options.earlyChange);
      break;
    case DecoderKind::kRunLength:
      core = std::make_unique<RunLengthDecoder>(source);
      break;
    case DecoderKind::kFlate:
      core = std::make_unique<Inflater>(source);
      break;
  }
  auto sink = [&result](const std::string& message) { result.errors.push_back(message); };
  core->setErrorSink(sink);
  core->setOutputLimit(options.outputLimit);
  std::unique_ptr<RowPredictor> predictor;
  ByteDecoder* top = core.get();
  bool predicted = kind == DecoderKind::kLzw || kind == DecoderKind::kFlate;
  if (predicted && options.predictor.active() && options.predictor.valid()) {
    predictor = std::make_unique<RowPredictor>(*core, options.predictor);
    predictor->setErrorSink(sink);
    predictor->setOutputLimit(options.outputLimit);
    top = predictor.get();
  }
  top->reset();
  uint8_t buffer[16384];
  for (;;) {
    size_t n = top->read(buffer, sizeof buffer);
    if (n == 0) {
      break;
    }
    result.bytes.insert(result.bytes.end(), buffer, buffer + n);
  }
  return result;
}

}  // namespace qv
