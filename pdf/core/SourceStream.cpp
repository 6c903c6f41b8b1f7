#include "pdf/core/SourceStream.h"

namespace qv {

SourceStream::SourceStream(CPDFObject dict) : dict_(std::move(dict)) {
  if (dict_.isNone()) {
    dict_ = CPDFObject::makeNull();
  }
}

SourceStream::~SourceStream() = default;

void SourceStream::attachDecryptor(std::unique_ptr<StreamDecryptor> decryptor) {
  decryptor_ = std::move(decryptor);
}

}  // namespace qv
