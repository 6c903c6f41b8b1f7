#include "pdf/document/StandardDecryptorFactory.h"

#include "pdf/crypto/ObjectDecryptor.h"

namespace qv {

namespace {

class Rc4ObjectDecryptor final : public StreamDecryptor {
 public:
  Rc4ObjectDecryptor(const FileKey& key, int32_t num, int32_t gen)
      : decryptor_(key.bytes(), num, gen) {}

  void reset() override { decryptor_.reset(); }
  void decrypt(uint8_t* data, size_t n) override { decryptor_.decrypt({data, n}); }

 private:
  ObjectDecryptor decryptor_;
};

}  // namespace

std::unique_ptr<StreamDecryptor> StandardDecryptorFactory::makeDecryptor(int32_t num,
                                                                         int32_t gen) const {
  return std::make_unique<Rc4ObjectDecryptor>(key_, num, gen);
}

}  // namespace qv
