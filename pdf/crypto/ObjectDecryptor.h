#pragma once

// Decrypts the strings and stream data of one indirect object of a file encrypted with the
// RC4 Standard security handler (PDF 1.7, 7.6.2, algorithm 1). The object key is the MD5 of
// the file key followed by the object number's three low bytes and the generation's two low
// bytes. A plain value owned by whoever decrypts: a string parser makes a fresh one per
// string, a stream source keeps one and resets it whenever the stream is reset.

#include <array>
#include <cstdint>
#include <span>

#include "pdf/crypto/Rc4.h"

namespace qv {

class ObjectDecryptor {
 public:
  // fileKey holds the file key (only its first 16 bytes are ever used).
  ObjectDecryptor(std::span<const uint8_t> fileKey, int32_t objNum, int32_t objGen);

  // Back to the first byte of the object's key stream.
  void reset() { rc4_ = initial_; }
  uint8_t decrypt(uint8_t byte) { return rc4_.process(byte); }
  void decrypt(std::span<uint8_t> bytes) { rc4_.process(bytes); }

  // The object key (key length + 5 bytes, at most 16).
  std::span<const uint8_t> objectKey() const { return {key_.data(), keyLength_}; }

  static constexpr size_t kMaxKeyLength = 16;

 private:
  std::array<uint8_t, kMaxKeyLength> key_{};
  size_t keyLength_ = 0;
  Rc4 initial_;
  Rc4 rc4_;
};

}  // namespace qv
