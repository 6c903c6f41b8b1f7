#include "pdf/crypto/Rc4.h"

#include <gtest/gtest.h>

#include "CryptoTestUtil.h"
#include "pdf/crypto/Md5.h"
#include "pdf/crypto/ObjectDecryptor.h"

namespace qv {
namespace {

using test::bytesOf;
using test::fromHex;
using test::toHex;

struct Rc4Case {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Widely published RC4 test vectors.
const Rc4Case kRc4Cases[] = {
    {"Key", "Plaintext", "bbf316e8d940af0ad3"},
    {"Wiki", "pedia", "1021bf0420"},
    {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
};

class Rc4Vectors : public ::testing::TestWithParam<Rc4Case> {};

TEST_P(Rc4Vectors, EncryptsAndDecrypts) {
  std::vector<uint8_t> data = bytesOf(GetParam().plain);
  Rc4(bytesOf(GetParam().key)).process(data);
  EXPECT_EQ(toHex(data), GetParam().cipher);
  Rc4(bytesOf(GetParam().key)).process(data);
  EXPECT_EQ(data, bytesOf(GetParam().plain));
}

INSTANTIATE_TEST_SUITE_P(Published, Rc4Vectors, ::testing::ValuesIn(kRc4Cases));

// RFC 6229, 40-bit key 0102030405: the first 16 bytes of key stream.
TEST(Rc4, Rfc6229FortyBitKeyStream) {
  std::vector<uint8_t> zeros(16, 0);
  Rc4(fromHex("0102030405")).process(zeros);
  EXPECT_EQ(toHex(zeros), "b2396305f03dc027ccc3524a0a1118a8");
}

TEST(Rc4, EmptyKeyDoesNotCrash) {
  uint8_t byte = 0;
  Rc4 rc4(std::span<const uint8_t>{});
  byte = rc4.process(byte);
  SUCCEED();
}

TEST(ObjectDecryptor, KeyBytesOfObjectNumberAndGeneration) {
  // Object 0x123456 generation 2 appends 56 34 12 02 00 to the file key before hashing.
  const std::vector<uint8_t> fileKey = fromHex("0102030405");
  ObjectDecryptor decryptor(fileKey, 0x123456, 2);
  std::vector<uint8_t> input = fromHex("01020304055634120200");
  const Md5::Digest digest = Md5::digest(input);
  EXPECT_EQ(toHex(decryptor.objectKey()), toHex(std::span(digest).first(10)));
}

TEST(ObjectDecryptor, KeyLengthCappedAtSixteenAndResetRestartsStream) {
  const std::vector<uint8_t> fileKey(16, 0xAB);
  ObjectDecryptor decryptor(fileKey, 7, 0);
  EXPECT_EQ(decryptor.objectKey().size(), 16u);
  std::vector<uint8_t> first = bytesOf("stream data"), second = first;
  decryptor.decrypt(first);
  decryptor.reset();
  decryptor.decrypt(second);
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace qv
