#include "pdf/crypto/Rc4.h"

#include <utility>

namespace qv {

Rc4::Rc4(std::span<const uint8_t> key) {
  for (int i = 0; i < 256; ++i) {
    s_[i] = uint8_t(i);
  }
  const uint8_t zero = 0;
  const uint8_t* k = key.empty() ? &zero : key.data();
  const size_t length = key.empty() ? 1 : key.size();
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = uint8_t(j + s_[i] + k[i % length]);
    std::swap(s_[i], s_[j]);
  }
}

uint8_t Rc4::process(uint8_t byte) {
  x_ = uint8_t(x_ + 1);
  y_ = uint8_t(y_ + s_[x_]);
  std::swap(s_[x_], s_[y_]);
  return byte ^ s_[uint8_t(s_[x_] + s_[y_])];
}

void Rc4::process(std::span<uint8_t> bytes) {
  for (uint8_t& b : bytes) {
    b = process(b);
  }
}

}  // namespace qv
