#include "pdf/filters/Inflater.h"

#include <gtest/gtest.h>

#include <functional>

#include "FilterTestUtil.h"
#include "pdf/filters/SpanByteSource.h"

namespace qv::test {
namespace {

bool hasError(const DecodeResult& r, std::string_view part) {
  for (const std::string& e : r.errors) {
    if (e.find(part) != std::string::npos) {
      return true;
    }
  }
  return false;
}

// zlib header of a 32 KiB window, no dictionary, passing FCHECK.
Bytes header() {
  return {0x78, 0x9c};
}

Bytes withHeader(const std::function<void(BitWriter&)>& body) {
  BitWriter w;
  body(w);
  Bytes out = header();
  Bytes b = w.finish();
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

struct HandMadeCase {
  const char* name;
  Bytes input;
  std::string expected;
  const char* error;  // a part of the expected report, or "" for none
};

std::vector<HandMadeCase> handMadeCases() {
  std::vector<HandMadeCase> cases;
  cases.push_back({"EmptyInput", {}, "", ""});
  cases.push_back({"BadFcheck", {0x78, 0x9d, 0x03, 0x00}, "", "Bad FCHECK in flate stream"});
  cases.push_back({"UnknownMethod", {0x77, 0x85, 0x03, 0x00}, "", "Unknown compression method"});
  cases.push_back({"DictionaryFlag", {0x78, 0xbb, 0x03, 0x00}, "", "FDICT bit set"});
  // A stored block whose NLEN is not the complement of LEN still yields LEN bytes.
  cases.push_back({"StoredBadNlen",
                   {0x78, 0x9c, 0x01, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'},
                   "hello",
                   "Bad uncompressed block length"});
  cases.push_back({"StoredTruncated",
                   {0x78, 0x9c, 0x01, 0x05, 0x00, 0xfa, 0xff, 'h', 'e'},
                   "he",
                   "Unexpected end of file"});
  // Fixed codes: "a", then length 10 at distance 1 repeats it ten times.
  cases.push_back({"OverlappingCopy", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('a');
                     w.fixedSymbol(264);  // length 10
                     w.code(0, 5);        // distance 1
                     w.fixedSymbol(256);
                   }),
                   std::string(11, 'a'), ""});
  cases.push_back({"DistanceBeforeStart", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('a');
                     w.fixedSymbol(257);  // length 3
                     w.code(1, 5);        // distance 2, one byte more than was written
                     w.fixedSymbol(256);
                   }),
                   "a", "Back-reference before the start"});
  cases.push_back({"FixedDistanceCode30", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('a');
                     w.fixedSymbol(257);
                     w.code(30, 5);
                     w.bits(0, 16);
                   }),
                   "a", "Bad code"});
  cases.push_back({"LengthSymbol286", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('z');
                     w.fixedSymbol(286);
                     w.bits(0, 16);
                   }),
                   "z", "Bad code"});
  cases.push_back(
      {"BlockType3", withHeader([](BitWriter& w) { w.bits(7, 3); }), "", "Bad block header"});
  cases.push_back({"NoBlockAfterNonFinal", withHeader([](BitWriter& w) {
                     w.bits(0, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('x');
                     w.fixedSymbol(256);
                   }),
                   "x", "Unexpected end of file"});  // the padding bits start a stored block
  cases.push_back({"TruncatedInCode", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(1, 2);
                     w.fixedSymbol('a');
                     w.fixedSymbol('b');
                     w.code(0x1, 3);  // the first bits of a literal, then the data stops
                   }),
                   "ab", "Unexpected end of file"});
  // Dynamic block whose code-length sequence repeats zeros past HLIT + HDIST codes.
  cases.push_back({"RepeatPastCount", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(2, 2);
                     w.bits(0, 5);  // 257 literal/length codes
                     w.bits(0, 5);  // 1 distance code
                     w.bits(0, 4);  // 4 code-length codes: 16, 17, 18, 0
                     w.bits(0, 3);
                     w.bits(0, 3);
                     w.bits(1, 3);  // 18: one bit, code 1
                     w.bits(1, 3);  // 0: one bit, code 0
                     w.code(1, 1);
                     w.bits(127, 7);  // 138 zeros
                     w.code(1, 1);
                     w.bits(127, 7);  // 138 more: 276 > 258
                   }),
                   "", "Bad dynamic code table"});
  cases.push_back({"TooManyDistanceCodes", withHeader([](BitWriter& w) {
                     w.bits(1, 1);
                     w.bits(2, 2);
                     w.bits(0, 5);
                     w.bits(31, 5);  // 32 distance codes
                     w.bits(0, 4);
                     w.bits(0, 16);
                   }),
                   "", "Bad dynamic code table"});
  return cases;
}

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const HandMadeCase& c, std::ostream* os) { *os << c.name; }

class InflaterHandMade : public ::testing::TestWithParam<HandMadeCase> {};

TEST_P(InflaterHandMade, DecodesAndReports) {
  const HandMadeCase& c = GetParam();
  DecodeResult r = decodeBytes(DecoderKind::kFlate, c.input);
  EXPECT_EQ(stringOf(r.bytes), c.expected);
  if (*c.error) {
    EXPECT_TRUE(hasError(r, c.error)) << (r.errors.empty() ? "no report" : r.errors[0]);
  } else {
    EXPECT_TRUE(r.errors.empty()) << r.errors[0];
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, InflaterHandMade, ::testing::ValuesIn(handMadeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct RoundTrip {
  size_t size;
  int kind;
  int level;
  int strategy;
  int windowBits;
};

class InflaterRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// Whatever zlib produces, our inflater gives back the original bytes.
TEST_P(InflaterRoundTrip, MatchesOriginal) {
  const RoundTrip& p = GetParam();
  Bytes original = sampleData(p.size, p.kind, static_cast<uint32_t>(p.size + p.level * 7 + p.kind));
  Bytes packed = zlibCompress(original, p.level, p.strategy, p.windowBits);
  DecodeResult r = decodeBytes(DecoderKind::kFlate, packed);
  EXPECT_TRUE(r.errors.empty()) << r.errors[0];
  ASSERT_EQ(r.bytes.size(), original.size());
  EXPECT_TRUE(r.bytes == original);
}

std::vector<RoundTrip> roundTrips() {
  std::vector<RoundTrip> out;
  const size_t sizes[] = {0, 1, 258, 40000, 300000};
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (size_t size : sizes) {
    for (int kind = 0; kind < 3; ++kind) {
      for (int level : {0, 1, 6, 9}) {
        out.push_back({size, kind, level, Z_DEFAULT_STRATEGY, 15});
      }
      for (int strategy : strategies) {
        out.push_back({size, kind, 6, strategy, 15});
      }
      out.push_back({size, kind, 9, Z_DEFAULT_STRATEGY, 9});
    }
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Zlib, InflaterRoundTrip, ::testing::ValuesIn(roundTrips()));

// Reading in odd-sized pieces resumes mid-match and mid-block correctly, and a reset
// decodes the same bytes again.
TEST(Inflater, ResumesAcrossSmallReadsAndResets) {
  Bytes original = sampleData(200000, 1, 3);
  Bytes packed = zlibCompress(original, 9);
  SpanByteSource source(packed);
  Inflater inflater(source);
  for (int round = 0; round < 2; ++round) {
    source.rewind();
    inflater.reset();
    Bytes out;
    uint8_t buf[7];
    size_t step = 1;
    while (size_t n = inflater.read(buf, step)) {
      out.insert(out.end(), buf, buf + n);
      step = step % 7 + 1;
    }
    EXPECT_TRUE(out == original) << "round " << round;
  }
}

// A zip bomb stops at the output limit with a report.
TEST(Inflater, StopsAtOutputLimit) {
  Bytes packed = zlibCompress(Bytes(4 << 20, 0), 9);
  DecodeOptions options;
  options.outputLimit = 100000;
  DecodeResult r = decodeBytes(DecoderKind::kFlate, packed, options);
  EXPECT_EQ(r.bytes.size(), 100000u);
  EXPECT_TRUE(hasError(r, "exceeds"));
}

// Damaged data never crashes or over-reads: flip bytes of real zlib data and decode.
TEST(Inflater, SurvivesCorruptedData) {
  Bytes packed = zlibCompress(sampleData(50000, 1, 9), 6);
  uint32_t x = 12345;
  for (int trial = 0; trial < 300; ++trial) {
    Bytes damaged = packed;
    for (int k = 0; k < 4; ++k) {
      x = x * 1103515245u + 12345u;
      damaged[2 + (x >> 8) % (damaged.size() - 2)] ^= static_cast<uint8_t>(1u << (x % 8));
    }
    DecodeOptions options;
    options.outputLimit = 1 << 20;
    DecodeResult r = decodeBytes(DecoderKind::kFlate, damaged, options);
    EXPECT_LE(r.bytes.size(), size_t{1} << 20);
  }
}

}  // namespace
}  // namespace qv::test
