#pragma once

// The RC4 stream cipher. Encryption and decryption are the same operation. A small value
// that holds the permutation and its two indexes; copying it copies the cipher position,
// which is how a decryptor goes back to the start of its key stream.

#include <array>
#include <cstdint>
#include <span>

namespace qv {

class Rc4 {
 public:
  // Runs the key schedule. An empty key is treated as a single zero byte so that the
  // schedule never divides by zero; callers refuse such keys before reaching here.
  explicit Rc4(std::span<const uint8_t> key);

  uint8_t process(uint8_t byte);
  void process(std::span<uint8_t> bytes);

 private:
  std::array<uint8_t, 256> s_;
  uint8_t x_ = 0;
  uint8_t y_ = 0;
};

}  // namespace qv
