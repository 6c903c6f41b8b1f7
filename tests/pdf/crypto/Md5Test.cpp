#include "pdf/crypto/Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CryptoTestUtil.h"

namespace qv {
namespace {

using test::bytesOf;
using test::toHex;

struct Md5Case {
  const char* input;
  const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Md5Case kRfc1321Cases[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

class Md5Rfc1321 : public ::testing::TestWithParam<Md5Case> {};

TEST_P(Md5Rfc1321, Digest) {
  EXPECT_EQ(toHex(Md5::digest(bytesOf(GetParam().input))), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(Vectors, Md5Rfc1321, ::testing::ValuesIn(kRfc1321Cases));

std::string pythonMd5(size_t length) {
  // Bytes i * 7 + 3 for i in 0..length-1, hashed by Python's hashlib as the oracle.
  const std::string command =
      "/usr/bin/python3 -c \"import hashlib;print(hashlib.md5(bytes((i*7+3)%256 for i in range(" +
      std::to_string(length) + "))).hexdigest())\"";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    return {};
  }
  char line[64] = {};
  const bool read = fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  return read ? std::string(line, 32) : std::string();
}

// Lengths around the 56- and 64-byte block boundaries, fed whole and in odd-sized pieces.
TEST(Md5, BlockBoundariesMatchHashlibAndChunking) {
  for (size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
    std::vector<uint8_t> data(length);
    for (size_t i = 0; i < length; ++i) {
      data[i] = uint8_t(i * 7 + 3);
    }
    const std::string whole = toHex(Md5::digest(data));
    Md5 chunked;
    for (size_t pos = 0; pos < length; pos += 13) {
      chunked.update({data.data() + pos, std::min<size_t>(13, length - pos)});
    }
    EXPECT_EQ(toHex(chunked.finish()), whole) << length;
    EXPECT_EQ(pythonMd5(length), whole) << length;
  }
}

}  // namespace
}  // namespace qv
