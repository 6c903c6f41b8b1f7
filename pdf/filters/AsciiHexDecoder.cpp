#include "pdf/filters/AsciiHexDecoder.h"

#include <cctype>

namespace qv {

int AsciiHexDecoder::nextNonSpace() {
  int c;
  do {
    c = source_.nextByte();
  } while (c >= 0 && std::isspace(c));
  return c;
}

int AsciiHexDecoder::digitValue(int c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  report("Illegal character <%02x> in ASCIIHex stream", c);
  return -1;
}

size_t AsciiHexDecoder::produce(uint8_t* out, size_t max) {
  size_t n = 0;
  while (n < max && !ended_) {
    int c1 = nextNonSpace();
    if (c1 == '>') {
      ended_ = true;
      break;
    }
    int high = 0;
    if (c1 < 0) {
      ended_ = true;
    } else {
      high = digitValue(c1);
      if (high < 0) {
        high = 0;
      }
    }
    int c2 = nextNonSpace();
    int value;
    if (c2 == '>') {
      ended_ = true;
      value = high << 4;
    } else if (c2 < 0) {
      ended_ = true;
      value = 0;
    } else {
      int low = digitValue(c2);
      value = low < 0 ? high << 4 : (high << 4) | low;
    }
    out[n++] = static_cast<uint8_t>(value);
  }
  return n;
}

}  // namespace qv
