// ASCIIHex, ASCII85, RunLength and LZW decoding, bytes in and bytes out.

#include <gtest/gtest.h>

#include "FilterTestUtil.h"

namespace qv::test {
namespace {

struct TextCase {
  DecoderKind kind;
  std::string input;
  std::string expected;
  const char* error;  // part of the expected report, "" for none
};

class TextDecoders : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextDecoders, Decode) {
  const TextCase& c = GetParam();
  DecodeResult r = decodeText(c.kind, c.input);
  EXPECT_EQ(stringOf(r.bytes), c.expected);
  if (*c.error) {
    ASSERT_FALSE(r.errors.empty());
    EXPECT_NE(r.errors[0].find(c.error), std::string::npos) << r.errors[0];
  } else {
    EXPECT_TRUE(r.errors.empty()) << r.errors[0];
  }
}

using std::string_literals::operator""s;
constexpr auto kHex = DecoderKind::kAsciiHex;
constexpr auto k85 = DecoderKind::kAscii85;
constexpr auto kRl = DecoderKind::kRunLength;

INSTANTIATE_TEST_SUITE_P(
    AsciiHex, TextDecoders,
    ::testing::Values(TextCase{kHex, "41 4>", "\x41\x40", ""},
                      TextCase{kHex, "41", "\x41\x00"s, ""},  // no end marker: one last 0
                      TextCase{kHex, "4a4B\n\t 6c>", "JKl", ""}, TextCase{kHex, ">", "", ""},
                      TextCase{kHex, "4G>", "\x40", "Illegal character <47> in ASCIIHex stream"},
                      TextCase{kHex, "Z1>", "\x01", "Illegal character <5a>"}));

INSTANTIATE_TEST_SUITE_P(
    Ascii85, TextDecoders,
    ::testing::Values(TextCase{k85, "z~>", "\0\0\0\0"s, ""}, TextCase{k85, "9jqo^~>", "Man ", ""},
                      TextCase{k85, "9jqo^BlbD-BleB1DJ+*+F(f,q~>", "Man is distinguished", ""},
                      TextCase{k85, "9j~>", "M", ""},  // a final group of 2 gives 1 byte
                      TextCase{k85, "9jqo^B~>", "Man ", ""},
                      TextCase{k85, "9j\r\nqo^ zB l~>", "Man \0\0\0\0i"s, ""},
                      TextCase{k85, "9jqo^", "Man ", ""},  // the end of the data ends it too
                      TextCase{k85, "", "", ""}));

INSTANTIATE_TEST_SUITE_P(
    RunLength, TextDecoders,
    ::testing::Values(TextCase{kRl,
                               "\x02"
                               "abc\xfd"
                               "x\x80"
                               "zz",
                               "abcxxxx", ""},
                      TextCase{kRl, "\x00q\x81-"s, "q" + std::string(128, '-'), ""},
                      TextCase{kRl,
                               "\x04"
                               "ab",
                               "ab", ""},             // literal cut short
                      TextCase{kRl, "\xff", "", ""},  // repeat without its byte
                      TextCase{kRl, "", "", ""}));

// LZW: every kind of data, with and without EarlyChange, across table clears.
class LzwRoundTrip : public ::testing::TestWithParam<std::tuple<int, int, size_t>> {};

TEST_P(LzwRoundTrip, MatchesOriginal) {
  auto [early, kind, size] = GetParam();
  Bytes original = sampleData(size, kind, static_cast<uint32_t>(size + kind));
  DecodeOptions options;
  options.earlyChange = early;
  DecodeResult r = decodeBytes(DecoderKind::kLzw, lzwEncode(original, early), options);
  EXPECT_TRUE(r.errors.empty()) << r.errors[0];
  EXPECT_TRUE(r.bytes == original) << r.bytes.size() << " vs " << original.size();
}

INSTANTIATE_TEST_SUITE_P(Data, LzwRoundTrip,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Values(0, 1, 2),
                                            ::testing::Values(size_t{1}, size_t{600},
                                                              size_t{100000})));

// With EarlyChange 0 the codes widen to 10 bits one code later than with 1: data encoded
// for one setting does not decode under the other once the table passes 511 entries.
TEST(Lzw, EarlyChangeMovesTheWidthSwitch) {
  Bytes original = sampleData(5000, 0, 77);
  for (int early : {0, 1}) {
    DecodeOptions options;
    options.earlyChange = 1 - early;
    DecodeResult r = decodeBytes(DecoderKind::kLzw, lzwEncode(original, early), options);
    EXPECT_FALSE(r.bytes == original) << "early " << early;
  }
}

TEST(Lzw, RejectsUnexpectedCodes) {
  // Clear, then code 300 while the next free code is 258.
  Bytes bad = {0x80, 0x4b, 0x00};
  DecodeResult r = decodeBytes(DecoderKind::kLzw, bad);
  EXPECT_TRUE(r.bytes.empty());
  ASSERT_FALSE(r.errors.empty());
  EXPECT_EQ(r.errors[0], "Bad LZW stream - unexpected code");
}

// Without clear codes the table fills up; the decoder reports and starts a new table.
TEST(Lzw, ReportsAFullTable) {
  Bytes codes;
  uint32_t buffer = 0;
  int bits = 0;
  int width = 9;
  for (int i = 0; i < 5000; ++i) {
    buffer = (buffer << width) | static_cast<uint32_t>(i % 256);
    bits += width;
    while (bits >= 8) {
      codes.push_back(static_cast<uint8_t>(buffer >> (bits - 8)));
      bits -= 8;
    }
    int next = 258 + i;  // entries the decoder has after this code
    width = next + 1 >= 2048 ? 12 : next + 1 >= 1024 ? 11 : next + 1 >= 512 ? 10 : 9;
  }
  DecodeResult r = decodeBytes(DecoderKind::kLzw, codes);
  ASSERT_FALSE(r.errors.empty());
  EXPECT_EQ(r.errors[0], "Bad LZW stream - expected clear-table code");
}

}  // namespace
}  // namespace qv::test
