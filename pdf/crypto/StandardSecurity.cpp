#include "pdf/crypto/StandardSecurity.h"

#include <algorithm>
#include <cstring>

#include "pdf/crypto/Md5.h"
#include "pdf/crypto/Rc4.h"

namespace qv {

const std::array<uint8_t, 32> kPasswordPadding = {
    0x28, 0xbf, 0x4e, 0x5e, 0x4e, 0x75, 0x8a, 0x41, 0x64, 0x00, 0x4e, 0x56, 0xff, 0xfa, 0x01, 0x08,
    0x2e, 0x2e, 0x00, 0xb6, 0xd0, 0x68, 0x3e, 0x80, 0x2f, 0x0c, 0xa9, 0xfe, 0x64, 0x53, 0x69, 0x7a};

namespace {

bool paramsUsable(const StandardSecurityParams& params) {
  return (params.revision == 2 || params.revision == 3) && params.keyLength >= 5 &&
         params.keyLength <= 16 && params.o.size() == 32 && params.u.size() == 32;
}

// Revision 3 runs RC4 twenty times, with the key's bytes XORed with 19 down to 0 when
// decrypting (the encryption went from 0 up to 19).
void rc4Revision3Decrypt(std::span<const uint8_t> key, std::span<uint8_t> data) {
  std::array<uint8_t, 16> round{};
  for (int i = 19; i >= 0; --i) {
    for (size_t k = 0; k < key.size(); ++k) {
      round[k] = key[k] ^ uint8_t(i);
    }
    Rc4 rc4({round.data(), key.size()});
    rc4.process(data);
  }
}

}  // namespace

std::array<uint8_t, 32> padPassword(const std::optional<std::string>& password) {
  std::array<uint8_t, 32> out = kPasswordPadding;
  if (!password) {
    return out;
  }
  const size_t n = std::min<size_t>(password->size(), 32);
  std::memcpy(out.data(), password->data(), n);
  std::copy_n(kPasswordPadding.begin(), 32 - n, out.begin() + n);
  return out;
}

std::optional<FileKey> tryUserPassword(const StandardSecurityParams& params,
                                       const std::array<uint8_t, 32>& paddedPassword) {
  if (!paramsUsable(params)) {
    return std::nullopt;
  }
  Md5 md5;
  md5.update(paddedPassword);
  md5.update(params.o);
  const uint32_t p = uint32_t(params.permissions);
  const uint8_t pBytes[4] = {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24)};
  md5.update(pBytes);
  md5.update(params.id);
  Md5::Digest digest = md5.finish();

  FileKey result;
  result.length = params.keyLength;
  if (params.revision == 3) {
    // Algorithm 2 step (h) rehashes the first key-length bytes each time; for 128-bit keys
    // that is the whole digest.
    for (int i = 0; i < 50; ++i) {
      digest = Md5::digest({digest.data(), params.keyLength});
    }
  }
  std::copy_n(digest.begin(), params.keyLength, result.key.begin());

  std::vector<uint8_t> u = params.u;
  if (params.revision == 2) {
    Rc4 rc4(result.bytes());
    rc4.process(u);
    if (!std::equal(u.begin(), u.end(), kPasswordPadding.begin())) {
      return std::nullopt;
    }
    return result;
  }
  rc4Revision3Decrypt(result.bytes(), u);
  Md5 check;
  check.update(kPasswordPadding);
  check.update(params.id);
  const Md5::Digest expected = check.finish();
  if (!std::equal(expected.begin(), expected.end(), u.begin())) {
    return std::nullopt;
  }
  return result;
}

std::optional<FileKey> computeFileKey(const StandardSecurityParams& params,
                                      const std::optional<std::string>& ownerPassword,
                                      const std::optional<std::string>& userPassword) {
  if (!paramsUsable(params)) {
    return std::nullopt;
  }
  // The owner password's key decrypts O back into the padded user password.
  Md5::Digest ownerDigest = Md5::digest(padPassword(ownerPassword));
  if (params.revision == 3) {
    for (int i = 0; i < 50; ++i) {
      ownerDigest = Md5::digest(ownerDigest);
    }
  }
  const std::span<const uint8_t> ownerKey{ownerDigest.data(), params.keyLength};
  std::array<uint8_t, 32> candidate;
  std::copy_n(params.o.begin(), 32, candidate.begin());
  if (params.revision == 2) {
    Rc4 rc4(ownerKey);
    rc4.process(candidate);
  } else {
    rc4Revision3Decrypt(ownerKey, candidate);
  }
  if (std::optional<FileKey> key = tryUserPassword(params, candidate)) {
    key->ownerPasswordOk = true;
    return key;
  }
  return tryUserPassword(params, padPassword(userPassword));
}

}  // namespace qv
