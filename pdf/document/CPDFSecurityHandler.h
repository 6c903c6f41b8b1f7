#pragma once

// The Standard security handler as the cross-reference table runs it once the table is read:
// examines the trailer's Encrypt dictionary, checks the owner and then the user password
// (RC4, revisions 2 and 3) and yields the encryption state the table keeps. Stateless; the
// result is a plain value.

#include <cstdint>
#include <optional>
#include <string>

#include "pdf/core/CPDFDict.h"
#include "pdf/crypto/StandardSecurity.h"

namespace qv {

struct EncryptionState {
  bool encrypted = false;
  int32_t v = 0;
  int32_t r = 0;
  size_t keyLength = 0;
  // Permission word: every permission granted when the file is not encrypted.
  int32_t p = 0xFFFC;
  FileKey fileKey;
  bool ownerPasswordOk = false;
};

class CPDFSecurityHandler {
 public:
  // The encryption state of a file with this trailer, or nothing when the file cannot be
  // opened (unknown handler, damaged encryption data, unsupported version, wrong password).
  static std::optional<EncryptionState> checkEncryption(
      const CPDFDict& trailer, const std::optional<std::string>& ownerPassword,
      const std::optional<std::string>& userPassword);
};

}  // namespace qv
