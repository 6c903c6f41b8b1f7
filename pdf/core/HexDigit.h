#pragma once

// The value of one hexadecimal digit, shared by every reader of hex text in the engine:
// hex strings and names of the lexer, CMap code tokens, glyph names such as "a1F".

namespace qv {

// 0..15 for '0'-'9', 'a'-'f', 'A'-'F'; -1 for anything else (also for negative chars).
constexpr int hexDigitValue(int c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

}  // namespace qv
