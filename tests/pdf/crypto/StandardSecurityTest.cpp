#include "pdf/crypto/StandardSecurity.h"

#include <gtest/gtest.h>

#include "CryptoTestUtil.h"

namespace qv {
namespace {

using test::fromHex;
using test::toHex;

struct PasswordCase {
  const char* name;
  int32_t revision;
  size_t keyLength;
  const char* o;
  const char* u;
  int32_t p;
  const char* id;
  std::optional<std::string> owner;
  std::optional<std::string> user;
  bool opens;
  bool ownerOk;
  const char* fileKey;  // expected key when known, else ""
};

// The first two come from files written by another program; the others were computed with an
// independent implementation of the published algorithms (user "user"/owner "owner" with a
// 40-bit revision 3 key, empty user with 128 bits, both empty with revision 2).
const char* kQpdfId = "66d36a30a97e0f16f39955c6221e0c2a";
const char* kR2O = "5707f7978844c2d6230b737e3295a2e9c945fcc46569f8339661c0a4264ceaa0";
const char* kR2U = "a8fc291a1fb00f10fd255b84e39e5b0cc840d80973c478570af871f5a552bcfa";
const char* kR3O = "1d1ff7011663408661b4e24dcc3db7f376f0fb37e02315869a2bc769442d356a";
const char* kR3U = "b1b69d3ca429a6fa7a6f27d64de7cd5391f1dd59d88e5b6e5e0a7954217a8f78";
const char* kOwnId = "0123456789abcdef0123456789abcdef";
const char* k40O = "3c482162008fafcb228b7db3c43a1090bc5b56e9b1556e89fc0656fd291f4908";
const char* k40U = "9bfc700caa40899754dc18558f213f6800000000000000000000000000000000";
const char* k128O = "566fa873ee33c797cd3b904fdadf814afa34df9a38f6ed41b984e2c6da2aa6f5";
const char* k128U = "04b8718d4765719ba91311d5246bb44100000000000000000000000000000000";
const char* kEmptyO = "2055c756c72e1ad702608e8196acad447ad32d17cff583235f6dd15fed7dab67";
const char* kEmptyU = "8dc4b6f29cd77f4e8e2b12241ca7f0453433782ca5ce4fa346cf0c32a00fe50a";

const PasswordCase kCases[] = {
    {"R2UserPassword", 2, 5, kR2O, kR2U, -64, kQpdfId, {}, "view", true, false, ""},
    {"R2OwnerPassword", 2, 5, kR2O, kR2U, -64, kQpdfId, "master", {}, true, true, ""},
    {"R2NoPassword", 2, 5, kR2O, kR2U, -64, kQpdfId, {}, {}, false, false, ""},
    {"R2WrongOwnerRightUser", 2, 5, kR2O, kR2U, -64, kQpdfId, "nope", "view", true, false, ""},
    {"R3UserPassword", 3, 16, kR3O, kR3U, -3104, kQpdfId, {}, "view", true, false, ""},
    {"R3OwnerPassword", 3, 16, kR3O, kR3U, -3104, kQpdfId, "master", {}, true, true, ""},
    {"R3WrongUser", 3, 16, kR3O, kR3U, -3104, kQpdfId, {}, "View", false, false, ""},
    {"R3FortyBitUser", 3, 5, k40O, k40U, -4, kOwnId, {}, "user", true, false, "1f6f3aa1db"},
    {"R3FortyBitOwner", 3, 5, k40O, k40U, -4, kOwnId, "owner", {}, true, true, "1f6f3aa1db"},
    {"R3EmptyUser",
     3,
     16,
     k128O,
     k128U,
     -3904,
     kOwnId,
     {},
     {},
     true,
     false,
     "a60eb440fe19bb452932f8c4caa98b6c"},
    {"R2BothEmpty", 2, 5, kEmptyO, kEmptyU, -1, kOwnId, {}, {}, true, true, "2b19f4d76a"},
    {"R4Refused", 4, 16, kR3O, kR3U, -3104, kQpdfId, "master", "view", false, false, ""},
    {"KeyLengthZeroRefused", 2, 0, kR2O, kR2U, -64, kQpdfId, {}, "view", false, false, ""},
    {"KeyLengthHugeRefused", 3, 32, kR3O, kR3U, -3104, kQpdfId, {}, "view", false, false, ""},
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const PasswordCase& c, std::ostream* os) { *os << c.name; }

class StandardPasswords : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(StandardPasswords, OpensWithTheRightPassword) {
  const PasswordCase& c = GetParam();
  StandardSecurityParams params;
  params.revision = c.revision;
  params.keyLength = c.keyLength;
  params.o = fromHex(c.o);
  params.u = fromHex(c.u);
  params.permissions = c.p;
  params.id = fromHex(c.id);
  const std::optional<FileKey> key = computeFileKey(params, c.owner, c.user);
  ASSERT_EQ(key.has_value(), c.opens);
  if (key) {
    EXPECT_EQ(key->ownerPasswordOk, c.ownerOk);
    EXPECT_EQ(key->length, c.keyLength);
    if (*c.fileKey) {
      EXPECT_EQ(toHex(key->bytes()), c.fileKey);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StandardPasswords, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StandardSecurity, PaddingOfShortLongAndAbsentPasswords) {
  EXPECT_EQ(padPassword(std::nullopt), kPasswordPadding);
  const auto shortPad = padPassword(std::string("ab"));
  EXPECT_EQ(shortPad[0], 'a');
  EXPECT_EQ(shortPad[1], 'b');
  EXPECT_TRUE(std::equal(shortPad.begin() + 2, shortPad.end(), kPasswordPadding.begin()));
  const std::string longPassword(40, 'x');
  const auto longPad = padPassword(longPassword);
  EXPECT_TRUE(std::all_of(longPad.begin(), longPad.end(), [](uint8_t b) { return b == 'x'; }));
}

}  // namespace
}  // namespace qv
