#include "pdf/core/CPDFString.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qv {

CPDFString::CPDFString(const char* text) : bytes_(text ? text : "") {}

CPDFString::CPDFString(const char* bytes, size_t length) : bytes_(bytes, length) {}

CPDFString::CPDFString(std::string_view bytes) : bytes_(bytes) {}

CPDFString CPDFString::fromInt(int32_t value) {
  return CPDFString(std::to_string(value));
}

CPDFString& CPDFString::append(char byte) {
  bytes_.push_back(byte);
  return *this;
}

CPDFString& CPDFString::append(const CPDFString& other) {
  bytes_.append(other.bytes_);
  return *this;
}

CPDFString& CPDFString::append(const char* text) {
  if (text) {
    bytes_.append(text);
  }
  return *this;
}

CPDFString& CPDFString::append(const char* bytes, size_t length) {
  bytes_.append(bytes, length);
  return *this;
}

CPDFString& CPDFString::append(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

CPDFString& CPDFString::insert(size_t pos, char byte) {
  bytes_.insert(bytes_.begin() + std::min(pos, bytes_.size()), byte);
  return *this;
}

CPDFString& CPDFString::insert(size_t pos, const char* text) {
  if (text) {
    bytes_.insert(std::min(pos, bytes_.size()), text);
  }
  return *this;
}

CPDFString& CPDFString::erase(size_t pos, size_t count) {
  if (pos < bytes_.size()) {
    bytes_.erase(pos, count);
  }
  return *this;
}

CPDFString& CPDFString::toUpper() {
  for (char& c : bytes_) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) {
      c = static_cast<char>(std::toupper(u));
    }
  }
  return *this;
}

CPDFString& CPDFString::toLower() {
  for (char& c : bytes_) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) {
      c = static_cast<char>(std::tolower(u));
    }
  }
  return *this;
}

}  // namespace qv
