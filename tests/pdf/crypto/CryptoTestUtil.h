#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

inline std::vector<uint8_t> fromHex(std::string_view hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(uint8_t(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

template <typename Bytes>
std::string toHex(const Bytes& bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

inline std::vector<uint8_t> bytesOf(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace qv::test
