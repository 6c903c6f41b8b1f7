#include "pdf/fonts/cmap/CMapTokenizer.h"

#include <algorithm>

#include "pdf/core/HexDigit.h"

namespace qv {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

bool isDelimiter(char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}

}  // namespace

void CMapTokenizer::skipSpaceAndComments() {
  while (pos_ < text_.size()) {
    if (isSpace(text_[pos_])) {
      ++pos_;
    } else if (text_[pos_] == '%') {
      while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') {
        ++pos_;
      }
    } else {
      break;
    }
  }
}

CMapTokenizer::Token CMapTokenizer::next() {
  skipSpaceAndComments();
  Token token;
  if (pos_ >= text_.size()) {
    return token;
  }
  char c = text_[pos_];
  if (c == '<' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '<') {
    pos_ += 2;
    token.kind = Kind::Delimiter;
    token.text = "<<";
  } else if (c == '>' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '>') {
    pos_ += 2;
    token.kind = Kind::Delimiter;
    token.text = ">>";
  } else if (c == '<') {
    token.kind = Kind::Hex;
    for (++pos_; pos_ < text_.size() && text_[pos_] != '>'; ++pos_) {
      if (!isSpace(text_[pos_])) {
        token.text += text_[pos_];
      }
    }
    if (pos_ < text_.size()) {
      ++pos_;  // '>'
    }
  } else if (c == '[' || c == ']' || c == '{' || c == '}' || c == '>' || c == ')') {
    ++pos_;
    token.kind = Kind::Delimiter;
    token.text = std::string(1, c);
  } else if (c == '(') {
    token.kind = Kind::String;
    size_t start = pos_;
    int depth = 0;
    while (pos_ < text_.size()) {
      char ch = text_[pos_++];
      if (ch == '\\') {
        ++pos_;
      } else if (ch == '(') {
        ++depth;
      } else if (ch == ')' && --depth == 0) {
        break;
      }
    }
    pos_ = std::min(pos_, text_.size());
    token.text = std::string(text_.substr(start, pos_ - start));
  } else {
    token.kind = c == '/' ? Kind::Name : Kind::Word;
    size_t start = c == '/' ? ++pos_ : pos_;
    while (pos_ < text_.size() && !isSpace(text_[pos_]) && !isDelimiter(text_[pos_])) {
      ++pos_;
    }
    token.text = std::string(text_.substr(start, pos_ - start));
  }
  return token;
}

bool CMapTokenizer::hexBytes(std::string_view digits, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (digits.size() % 2 != 0) {
    return false;
  }
  for (size_t i = 0; i < digits.size(); i += 2) {
    int hi = hexDigitValue(digits[i]);
    int lo = hexDigitValue(digits[i + 1]);
    if (hi < 0 || lo < 0) {
      return false;
    }
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

}  // namespace qv
