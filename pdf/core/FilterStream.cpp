#include "pdf/core/FilterStream.h"

#include "pdf/core/ErrorReport.h"
#include "pdf/core/SourceStream.h"

namespace qv {

FilterStream::FilterStream(std::unique_ptr<CPDFStream> input) : input_(std::move(input)) {}

FilterStream::~FilterStream() = default;

void FilterStream::close() {
  if (input_) {
    input_->close();
  }
}

int64_t FilterStream::getPos() const {
  return input_ ? input_->getPos() : -1;
}

void FilterStream::setPos(int64_t) {
  reportError(-1, "Internal: called setPos() on FilterStream");
}

SourceStream* FilterStream::getSource() {
  return input_ ? input_->getSource() : nullptr;
}

const CPDFObject& FilterStream::getDict() const {
  return input_ ? input_->getDict() : CPDFObject::nullObject();
}

void FilterStream::resetInput() {
  if (input_) {
    input_->reset();
  }
}

}  // namespace qv
