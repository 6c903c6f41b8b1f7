#pragma once

// Decryption as the core sees it: the security handler (in the document layer) implements
// DecryptorFactory, and the parser asks it for one StreamDecryptor per string and per stream
// of the object being read. The core never learns the key or the cipher.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

// The key stream of one object. Owned by whoever decrypts: a string gets a fresh one, a
// source stream keeps one and resets it whenever the stream is reset.
class StreamDecryptor {
 public:
  virtual ~StreamDecryptor() = default;
  // Back to the first byte of the object's data.
  virtual void reset() = 0;
  // Decrypts `n` bytes in place, continuing where the previous call stopped.
  virtual void decrypt(uint8_t* data, size_t n) = 0;
};

class DecryptorFactory {
 public:
  virtual ~DecryptorFactory() = default;
  // The decryptor for the strings and streams of object (num, gen).
  virtual std::unique_ptr<StreamDecryptor> makeDecryptor(int32_t num, int32_t gen) const = 0;
};

}  // namespace qv
