#include "pdf/filters/Ascii85Decoder.h"

namespace qv {

namespace {

// The white-space characters of PDF (PDF 1.7, 7.2.2).
bool isPdfSpace(int c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

}  // namespace

void Ascii85Decoder::restart() {
  index_ = 0;
  count_ = 0;
  ended_ = false;
}

int Ascii85Decoder::nextNonSpace() {
  int c;
  do {
    c = source_.nextByte();
  } while (c >= 0 && isPdfSpace(c));
  return c;
}

void Ascii85Decoder::decodeGroup() {
  index_ = 0;
  count_ = 0;
  int c = nextNonSpace();
  if (c == 'z') {
    bytes_[0] = bytes_[1] = bytes_[2] = bytes_[3] = 0;
    count_ = 4;
    return;
  }
  if (c == '~' || c < 0) {
    ended_ = true;
    return;
  }
  int chars[5];
  chars[0] = c;
  int k = 1;
  while (k < 5) {
    c = nextNonSpace();
    if (c == '~' || c < 0) {
      break;
    }
    chars[k++] = c;
  }
  count_ = k - 1;
  if (k < 5) {
    for (int i = k; i < 5; ++i) {
      chars[i] = 'u';
    }
    ended_ = true;
  }
  // Characters outside "!".."u" are not valid; they keep their arithmetic value and the
  // sum wraps, as 32-bit unsigned arithmetic defines.
  uint32_t value = 0;
  for (int i = 0; i < 5; ++i) {
    value = value * 85 + static_cast<uint32_t>(chars[i] - 33);
  }
  for (int i = 3; i >= 0; --i) {
    bytes_[i] = static_cast<uint8_t>(value & 0xff);
    value >>= 8;
  }
}

size_t Ascii85Decoder::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (index_ < count_) {
      out[n++] = bytes_[index_++];
      continue;
    }
    if (ended_) {
      break;
    }
    decodeGroup();
  }
  return n;
}

}  // namespace qv
