#pragma once

// Hands the parser one RC4 decryptor per string and per stream of an object of a file
// encrypted with the Standard security handler. Holds a copy of the file key; owned by the
// cross-reference table, which lends it to each parser it creates.

#include <memory>

#include "pdf/core/StreamDecryptor.h"
#include "pdf/crypto/StandardSecurity.h"

namespace qv {

class StandardDecryptorFactory final : public DecryptorFactory {
 public:
  explicit StandardDecryptorFactory(const FileKey& key) : key_(key) {}

  std::unique_ptr<StreamDecryptor> makeDecryptor(int32_t num, int32_t gen) const override;

 private:
  FileKey key_;
};

}  // namespace qv
