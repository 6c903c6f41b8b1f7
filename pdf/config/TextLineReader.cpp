#include "pdf/config/TextLineReader.h"

#include <charconv>
#include <cstdint>

namespace qv {

bool TextLineReader::next(std::string_view& line) {
  if (pos_ >= text_.size()) {
    return false;
  }
  size_t start = pos_;
  size_t end = start;
  while (end < text_.size() && end - start < maxLineLength_ && text_[end] != '\n' &&
         text_[end] != '\r') {
    ++end;
  }
  line = text_.substr(start, end - start);
  pos_ = end;
  if (pos_ < text_.size() && text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') {
      ++pos_;
    }
  } else if (pos_ < text_.size() && text_[pos_] == '\n') {
    ++pos_;
  }
  return true;
}

std::vector<std::string_view> splitTokens(std::string_view line, size_t maxTokens) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size() && tokens.size() < maxTokens) {
    while (i < line.size() && isSpace(line[i])) {
      ++i;
    }
    if (i == line.size()) {
      break;
    }
    size_t start = i;
    while (i < line.size() && !isSpace(line[i])) {
      ++i;
    }
    tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

bool parseHex(std::string_view text, uint32_t& value) {
  if (text.empty()) {
    return false;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return ec == std::errc() && end == text.data() + text.size();
}

bool parseDecimal(std::string_view text, int& value) {
  if (text.empty()) {
    return false;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace qv
