#include "pdf/core/CPDFStream.h"

#include <cstring>

#include "pdf/core/ErrorReport.h"

namespace qv {

CPDFStream::~CPDFStream() = default;

void CPDFStream::reset() {
  discardOutput();
  onReset();
}

int CPDFStream::getRawChar() {
  reportError(-1, "Internal: called getRawChar() on non-predictor stream");
  return -1;
}

void CPDFStream::setPos(int64_t) {}

bool CPDFStream::fillWindow() {
  // A refill may legitimately produce nothing yet (a block that decodes to zero bytes), so
  // ask again until bytes come or the data ends; each call consumes input, so this ends.
  discardOutput();
  while (refill()) {
    if (next_ < end_) {
      return true;
    }
  }
  discardOutput();
  return false;
}

int CPDFStream::refillAndNext() {
  return fillWindow() ? *next_++ : -1;
}

int CPDFStream::refillAndPeek() {
  return fillWindow() ? *next_ : -1;
}

uint8_t* CPDFStream::beginOutput(size_t capacity) {
  if (out_.size() < capacity) {
    out_.resize(capacity);
  }
  next_ = end_ = out_.data();
  return out_.data();
}

void CPDFStream::commitOutput(size_t n) {
  next_ = out_.data();
  end_ = out_.data() + std::min(n, out_.size());
}

void CPDFStream::setOutput(const uint8_t* begin, const uint8_t* end) {
  next_ = begin;
  end_ = end;
}

bool CPDFStream::readLine(char* buf, int size) {
  if (peekChar() < 0) {
    return false;
  }
  int i = 0;
  while (true) {
    int c = peekChar();
    if (c < 0) {
      break;
    }
    if (c == '\n') {
      nextChar();
      break;
    }
    if (c == '\r') {
      nextChar();
      if (peekChar() == '\n') {
        nextChar();
      }
      break;
    }
    if (i + 1 >= size) {
      break;
    }
    buf[i++] = static_cast<char>(nextChar());
  }
  if (size > 0) {
    buf[i] = '\0';
  }
  return true;
}

size_t CPDFStream::read(uint8_t* dst, size_t n) {
  size_t done = 0;
  while (done < n) {
    if (next_ >= end_ && !fillWindow()) {
      break;
    }
    const size_t chunk = std::min(n - done, outputRemaining());
    std::memcpy(dst + done, next_, chunk);
    next_ += chunk;
    done += chunk;
  }
  return done;
}

std::string CPDFStream::readAll(size_t maxBytes) {
  std::string out;
  while (out.size() < maxBytes) {
    if (next_ >= end_ && !fillWindow()) {
      break;
    }
    const size_t chunk = std::min(maxBytes - out.size(), outputRemaining());
    out.append(reinterpret_cast<const char*>(next_), chunk);
    next_ += chunk;
  }
  return out;
}

}  // namespace qv
