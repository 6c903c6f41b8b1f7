#include "pdf/filters/DecoderStream.h"

#include "pdf/core/ErrorReport.h"

namespace qv {

DecoderStream::DecoderStream(std::unique_ptr<CPDFStream> input)
    : FilterStream(std::move(input)), source_(this->input()) {}

DecoderStream::~DecoderStream() = default;

void DecoderStream::setDecoder(std::unique_ptr<ByteDecoder> core, const PredictorParams* params) {
  auto sink = [this](const std::string& message) { reportError(getPos(), "%s", message.c_str()); };
  core_ = std::move(core);
  core_->setErrorSink(sink);
  top_ = core_.get();
  if (params && params->active()) {
    if (params->valid()) {
      predictor_ = std::make_unique<RowPredictor>(*core_, *params);
      predictor_->setErrorSink(sink);
      top_ = predictor_.get();
    } else {
      // The data itself may still be readable; without a usable row geometry it is
      // delivered as decoded, without undoing the prediction.
      reportError(getPos(), "Bad predictor parameters (Columns %d, Colors %d, BitsPerComponent %d)",
                  params->columns, params->colors, params->bitsPerComponent);
    }
  }
}

bool DecoderStream::refill() {
  if (!top_) {
    return false;
  }
  uint8_t* out = beginOutput(kChunk);
  size_t n = top_->read(out, kChunk);
  commitOutput(n);
  return n > 0;
}

void DecoderStream::onReset() {
  resetInput();
  if (top_) {
    top_->reset();
  }
}

}  // namespace qv
