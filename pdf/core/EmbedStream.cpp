#include "pdf/core/EmbedStream.h"

#include "pdf/core/ErrorReport.h"

namespace qv {

EmbedStream::EmbedStream(CPDFStream& input, CPDFObject dict)
    : SourceStream(std::move(dict)), input_(input) {}

bool EmbedStream::refill() {
  // One byte at a time, so nothing past what the decoder asked for leaves the content
  // stream: the interpreter goes on reading right after the image data.
  const int c = input_.nextChar();
  if (c < 0) {
    return false;
  }
  byte_ = static_cast<uint8_t>(c);
  setOutput(&byte_, &byte_ + 1);
  return true;
}

int64_t EmbedStream::getPos() const {
  return input_.getPos() - static_cast<int64_t>(outputRemaining());
}

void EmbedStream::setPos(int64_t) {
  reportError(-1, "Internal: called setPos() on EmbedStream");
}

std::unique_ptr<SourceStream> EmbedStream::makeSubStream(int64_t, int64_t, CPDFObject) {
  reportError(-1, "Internal: called makeSubStream() on EmbedStream");
  return nullptr;
}

int64_t EmbedStream::getStart() const {
  reportError(-1, "Internal: called getStart() on EmbedStream");
  return 0;
}

void EmbedStream::moveStart(int64_t) {
  reportError(-1, "Internal: called moveStart() on EmbedStream");
}

}  // namespace qv
