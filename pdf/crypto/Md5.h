#pragma once

// MD5 message digest (RFC 1321), used by the Standard security handler to derive file and
// object keys. A plain value: feed bytes with update() and take the digest once with
// finish(); the object may be reused after finish() only through a fresh instance.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5();

  void update(std::span<const uint8_t> bytes);
  Digest finish();

  // Digest of one buffer.
  static Digest digest(std::span<const uint8_t> bytes);

 private:
  void processBlock(const uint8_t* block);

  std::array<uint32_t, 4> state_;
  std::array<uint8_t, 64> buffer_{};
  size_t buffered_ = 0;
  uint64_t totalBytes_ = 0;
};

}  // namespace qv
