#include "pdf/crypto/ObjectDecryptor.h"

#include <algorithm>
#include <vector>

#include "pdf/crypto/Md5.h"

namespace qv {

namespace {

struct KeyMaterial {
  std::array<uint8_t, ObjectDecryptor::kMaxKeyLength> key{};
  size_t length = 0;
};

KeyMaterial makeObjectKey(std::span<const uint8_t> fileKey, int32_t objNum, int32_t objGen) {
  const size_t fileKeyLength = std::min(fileKey.size(), ObjectDecryptor::kMaxKeyLength);
  std::vector<uint8_t> input(fileKey.begin(), fileKey.begin() + fileKeyLength);
  const uint32_t num = uint32_t(objNum);
  const uint32_t gen = uint32_t(objGen);
  input.push_back(uint8_t(num));
  input.push_back(uint8_t(num >> 8));
  input.push_back(uint8_t(num >> 16));
  input.push_back(uint8_t(gen));
  input.push_back(uint8_t(gen >> 8));
  const Md5::Digest digest = Md5::digest(input);
  KeyMaterial result;
  result.length = std::min(fileKeyLength + 5, ObjectDecryptor::kMaxKeyLength);
  std::copy_n(digest.begin(), result.length, result.key.begin());
  return result;
}

}  // namespace

ObjectDecryptor::ObjectDecryptor(std::span<const uint8_t> fileKey, int32_t objNum, int32_t objGen)
    : initial_(std::span<const uint8_t>{}), rc4_(std::span<const uint8_t>{}) {
  const KeyMaterial material = makeObjectKey(fileKey, objNum, objGen);
  key_ = material.key;
  keyLength_ = material.length;
  initial_ = Rc4(objectKey());
  rc4_ = initial_;
}

}  // namespace qv
