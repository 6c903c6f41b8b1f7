#pragma once

// Base of the filters whose decoding lives in a decoder core (ASCIIHex, ASCII85, LZW,
// RunLength, Flate): it owns the input (through FilterStream), the core and, for LZW and
// Flate data with a Predictor, the RowPredictor stacked on the core. Each refill decodes
// one chunk into the base's output window; a reset resets the input, then the decoders.
// The cores' reports go to reportError at the input's position.

#include <memory>

#include "pdf/core/FilterStream.h"
#include "pdf/filters/ByteDecoder.h"
#include "pdf/filters/RowPredictor.h"
#include "pdf/filters/StreamByteSource.h"

namespace qv {

class DecoderStream : public FilterStream {
 public:
  ~DecoderStream() override;

 protected:
  explicit DecoderStream(std::unique_ptr<CPDFStream> input);

  // Installs the core (built over source()) and, when params name a usable predictor, a
  // RowPredictor over it. Called once by the derived constructor.
  void setDecoder(std::unique_ptr<ByteDecoder> core, const PredictorParams* params = nullptr);
  ByteSource& source() { return source_; }
  // The next byte of the core before prediction, or -1.
  int rawByte() { return core_ ? core_->readByte() : -1; }

  bool refill() override;
  void onReset() override;

 private:
  static constexpr size_t kChunk = 16384;

  StreamByteSource source_;
  std::unique_ptr<ByteDecoder> core_;
  std::unique_ptr<RowPredictor> predictor_;
  ByteDecoder* top_ = nullptr;
};

}  // namespace qv
