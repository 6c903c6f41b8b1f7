#pragma once

// A growable byte string that may hold NUL bytes: the payload of string objects and the
// engine's general text buffer. A plain value (copyable, movable); the bytes are always
// followed by a NUL so cStr() can be handed to C functions. Positions passed to insert and
// erase are clamped to the string, so no call reads or writes outside it.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

class CPDFString {
 public:
  CPDFString() = default;
  explicit CPDFString(const char* text);
  CPDFString(const char* bytes, size_t length);
  explicit CPDFString(std::string_view bytes);
  explicit CPDFString(std::string bytes) : bytes_(std::move(bytes)) {}

  // The decimal text of `value` ("-12", "0").
  static CPDFString fromInt(int32_t value);

  CPDFString& append(char byte);
  CPDFString& append(const CPDFString& other);
  CPDFString& append(const char* text);
  CPDFString& append(const char* bytes, size_t length);
  CPDFString& append(std::string_view bytes);
  CPDFString& insert(size_t pos, char byte);
  CPDFString& insert(size_t pos, const char* text);
  CPDFString& erase(size_t pos, size_t count);
  void clear() { bytes_.clear(); }
  // Both touch only the bytes the C library classifies as letters.
  CPDFString& toUpper();
  CPDFString& toLower();

  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  // Byte i as 0-255; 0 outside the string.
  uint8_t at(size_t i) const { return i < bytes_.size() ? static_cast<uint8_t>(bytes_[i]) : 0; }
  const char* cStr() const { return bytes_.c_str(); }
  char* data() { return bytes_.data(); }
  const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(bytes_.data()); }
  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }

  friend bool operator==(const CPDFString& a, const CPDFString& b) = default;
  friend bool operator==(const CPDFString& a, std::string_view b) { return a.bytes_ == b; }

 private:
  std::string bytes_;
};

}  // namespace qv
