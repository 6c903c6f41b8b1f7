#pragma once

// Password checks and file key derivation of the RC4 Standard security handler, revisions 2
// and 3 (PDF 1.7, 7.6.3, algorithms 2 to 7). Pure functions over bytes, so they are tested
// without a document; the document layer reads the Encrypt dictionary and calls these.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The 32-byte padding string of the Standard security handler.
extern const std::array<uint8_t, 32> kPasswordPadding;

struct StandardSecurityParams {
  int32_t revision = 0;     // R: 2 or 3
  size_t keyLength = 5;     // bytes, 5..16
  std::vector<uint8_t> o;   // O, 32 bytes
  std::vector<uint8_t> u;   // U, 32 bytes
  int32_t permissions = 0;  // P
  std::vector<uint8_t> id;  // first element of the trailer's ID
};

struct FileKey {
  std::array<uint8_t, 16> key{};
  size_t length = 0;
  bool ownerPasswordOk = false;

  std::span<const uint8_t> bytes() const { return {key.data(), length}; }
};

// A password padded or cut to 32 bytes; an absent password is the padding itself.
std::array<uint8_t, 32> padPassword(const std::optional<std::string>& password);

// Tries the owner password first, then the user password. Nothing when neither opens the
// file, or when the parameters are outside what revisions 2 and 3 define.
std::optional<FileKey> computeFileKey(const StandardSecurityParams& params,
                                      const std::optional<std::string>& ownerPassword,
                                      const std::optional<std::string>& userPassword);

// The file key for a padded user password when it is the right one.
std::optional<FileKey> tryUserPassword(const StandardSecurityParams& params,
                                       const std::array<uint8_t, 32>& paddedPassword);

}  // namespace qv
