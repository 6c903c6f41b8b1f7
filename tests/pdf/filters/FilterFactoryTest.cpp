#include "pdf/filters/FilterFactory.h"

#include <gtest/gtest.h>

#include "FilterTestUtil.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/FileRangeStream.h"
#include "pdf/filters/PixelReader.h"

namespace qv::test {
namespace {

CPDFObject name(std::string_view n) {
  return CPDFObject::makeName(n);
}

template <class... Items>
CPDFObject array(Items&&... items) {
  CPDFObject a = CPDFObject::makeArray(nullptr);
  (a.getArray()->add(std::forward<Items>(items)), ...);
  return a;
}

void addEntries(CPDFDict&) {}

template <class... Rest>
void addEntries(CPDFDict& d, const char* key, CPDFObject value, Rest&&... rest) {
  d.add(key, std::move(value));
  addEntries(d, std::forward<Rest>(rest)...);
}

// dict("Key", value, "Key", value, ...)
template <class... Args>
CPDFObject dict(Args&&... args) {
  CPDFObject d = CPDFObject::makeDict(nullptr);
  addEntries(*d.getDict(), std::forward<Args>(args)...);
  return d;
}

std::unique_ptr<CPDFStream> chain(const std::string& data, const CPDFObject& streamDict) {
  FilterFactory factory;
  return factory.makeFilterChain(makeMemoryStream(data), *streamDict.getDict());
}

std::string readAll(CPDFStream& s) {
  s.reset();
  std::string out = s.readAll(size_t{1} << 24);
  s.close();
  return out;
}

std::string hexOf(const Bytes& b) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (uint8_t c : b) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out + ">";
}

// Every name and abbreviation builds its filter; Flate data is ASCIIHex-wrapped where the
// test needs text.
TEST(FilterFactory, NamesAndAbbreviations) {
  struct Row {
    const char* filter;
    std::string data;
    StreamKind kind;
    std::string expected;
  };
  std::string flate = stringOf(zlibCompress(bytesOf("flate data")));
  const Row rows[] = {
      {"ASCIIHexDecode", "414243>", StreamKind::ASCIIHex, "ABC"},
      {"AHx", "41>", StreamKind::ASCIIHex, "A"},
      {"ASCII85Decode", "9jqo^~>", StreamKind::ASCII85, "Man "},
      {"A85", "z~>", StreamKind::ASCII85, std::string(4, '\0')},
      {"RunLengthDecode",
       "\xfe"
       "a\x80",
       StreamKind::RunLength, "aaa"},
      {"RL",
       "\x01"
       "ab\x80",
       StreamKind::RunLength, "ab"},
      {"LZWDecode", stringOf(lzwEncode(bytesOf("lzw lzw lzw"), 1)), StreamKind::LZW, "lzw lzw lzw"},
      {"LZW", stringOf(lzwEncode(bytesOf("x"), 1)), StreamKind::LZW, "x"},
      {"FlateDecode", flate, StreamKind::Flate, "flate data"},
      {"Fl", flate, StreamKind::Flate, "flate data"},
      {"DCTDecode", "\xff\xd8", StreamKind::Empty, ""},
      {"CCF", "abc", StreamKind::Empty, ""},
      {"JBIG2Decode", "abc", StreamKind::Empty, ""},
      {"flatedecode", flate, StreamKind::Empty, ""},  // names compare byte for byte
  };
  for (const Row& row : rows) {
    ErrorLog log;
    auto s = chain(row.data, dict("Filter", name(row.filter)));
    EXPECT_EQ(s->getKind(), row.kind) << row.filter;
    EXPECT_EQ(readAll(*s), row.expected) << row.filter;
    if (row.kind == StreamKind::Empty) {
      EXPECT_EQ(log.size(), 1u) << row.filter;
    }
  }
}

TEST(FilterFactory, UnknownFilterIsReportedByName) {
  ErrorLog log;
  auto s = chain("abc", dict("Filter", name("Nope")));
  EXPECT_EQ(readAll(*s), "");
  EXPECT_EQ(log.count("Unknown filter 'Nope'"), 1u);
}

// [/ASCIIHexDecode /FlateDecode] with [null <</Predictor 12 /Columns 4>>]: the predictor
// applies to the Flate stage only.
TEST(FilterFactory, ParametersFollowTheirStage) {
  Bytes rows = {2, 1, 2, 3, 4, 2, 1, 1, 1, 1};
  std::string hex = hexOf(zlibCompress(rows));
  CPDFObject d = dict("Filter", array(name("ASCIIHexDecode"), name("FlateDecode")), "DecodeParms",
                      array(CPDFObject::makeNull(), dict("Predictor", CPDFObject::makeInt(12),
                                                         "Columns", CPDFObject::makeInt(4))));
  auto s = chain(hex, d);
  EXPECT_EQ(readAll(*s), std::string("\x01\x02\x03\x04\x02\x03\x04\x05"));
}

TEST(FilterFactory, AbbreviatedKeysAndFallbacks) {
  Bytes rows = {1, 5, 1, 1};
  std::string flate = stringOf(zlibCompress(rows));
  // F and DP stand in for Filter and DecodeParms; a Columns that is not an integer takes
  // its default 1, so each row is one byte after its tag.
  CPDFObject d =
      dict("F", name("Fl"), "DP",
           dict("Predictor", CPDFObject::makeInt(11), "Columns", CPDFObject::makeReal(3.0)));
  auto s = chain(flate, d);
  EXPECT_EQ(readAll(*s), std::string("\x05\x01"));

  ErrorLog log;
  auto plain = chain("data", dict("Filter", CPDFObject::makeInt(3)));
  EXPECT_EQ(readAll(*plain), "data");
  EXPECT_EQ(log.count("Bad 'Filter' attribute in stream"), 1u);
}

TEST(FilterFactory, BadElementsAndLongChains) {
  ErrorLog log;
  auto s = chain("41>", dict("Filter", array(name("AHx"), CPDFObject::makeInt(1))));
  EXPECT_EQ(readAll(*s), "");
  EXPECT_EQ(log.count("Bad filter name"), 1u);

  CPDFObject many = array();
  for (int i = 0; i <= kMaxFilterChainLength; ++i) {
    many.getArray()->add(name("AHx"));
  }
  auto tooLong = chain("41>", dict("Filter", std::move(many)));
  EXPECT_EQ(tooLong->getKind(), StreamKind::Empty);
  EXPECT_EQ(readAll(*tooLong), "");

  // The longest allowed chain still decodes: sixteen nested hex encodings of "A".
  std::string data = "A";
  CPDFObject allowed = array();
  for (int i = 0; i < kMaxFilterChainLength; ++i) {
    data = hexOf(bytesOf(data));
    allowed.getArray()->add(name("AHx"));
  }
  auto longest = chain(data, dict("Filter", std::move(allowed)));
  EXPECT_EQ(readAll(*longest), "A");
}

// Reading again after a reset gives the same bytes; getRawChar gives bytes before
// prediction, and every stream reads empty at the end.
TEST(FilterStreams, ResetAndRawBytes) {
  Bytes rows = {2, 10, 2, 1};  // Up, Up
  std::string flate = stringOf(zlibCompress(rows));
  auto s = chain(flate, dict("Filter", name("FlateDecode"), "DecodeParms",
                             dict("Predictor", CPDFObject::makeInt(10))));
  EXPECT_EQ(readAll(*s), std::string("\x0a\x0b"));
  EXPECT_EQ(readAll(*s), std::string("\x0a\x0b"));
  s->reset();
  EXPECT_EQ(s->getRawChar(), 2);
  EXPECT_EQ(s->getRawChar(), 10);
  s->close();

  ErrorLog log;
  auto hex = chain("41>", dict("Filter", name("AHx")));
  hex->reset();
  EXPECT_EQ(hex->getRawChar(), -1);
  EXPECT_EQ(log.count("Internal: called getRawChar() on non-predictor stream"), 1u);
  EXPECT_EQ(hex->nextChar(), 'A');
  EXPECT_EQ(hex->nextChar(), -1);
  EXPECT_EQ(hex->peekChar(), -1);
}

// Decoding errors reach reportError with a stream position.
TEST(FilterStreams, ReportsCarryPositions) {
  ErrorLog log;
  auto s = chain(std::string("\x78\x9d\x03\x00", 4), dict("Filter", name("FlateDecode")));
  EXPECT_EQ(readAll(*s), "");
  ASSERT_EQ(log.count("Bad FCHECK in flate stream"), 1u);
  EXPECT_GE(log.entries()[0].pos, 0);
}

// Bad predictor geometry is reported and the data is delivered as decoded.
TEST(FilterStreams, UnusablePredictorIsIgnored) {
  ErrorLog log;
  std::string flate = stringOf(zlibCompress(bytesOf("abc")));
  auto s = chain(
      flate, dict("Filter", name("FlateDecode"), "DecodeParms",
                  dict("Predictor", CPDFObject::makeInt(12), "Colors", CPDFObject::makeInt(0))));
  EXPECT_EQ(readAll(*s), "abc");
  EXPECT_EQ(log.countContaining("Bad predictor parameters"), 1u);
}

TEST(PixelReader, UnpacksEachWidth) {
  struct Row {
    std::string data;
    int width, comps, bits;
    std::vector<int> expected;  // the components of the first pixels, in order
  };
  const Row rows[] = {
      {"\xa5", 8, 1, 1, {1, 0, 1, 0, 0, 1, 0, 1}},
      {"\xe4", 2, 2, 2, {3, 2, 1, 0}},
      {"\x12\x34", 2, 1, 4, {1, 2}},  // lines start at byte boundaries: 0x34 begins line 2
      {"abcdef", 2, 3, 8, {'a', 'b', 'c', 'd', 'e', 'f'}},
      {"\x12\x34\x56\x78", 2, 1, 16, {0x12, 0x56}},
      {"\xff", 3, 1, 8, {255, 0, 0}},  // missing data reads as 0
  };
  for (const Row& row : rows) {
    auto stream = makeMemoryStream(row.data);
    PixelReader reader(*stream, row.width, row.comps, row.bits);
    ASSERT_TRUE(reader.ok());
    reader.reset();
    std::vector<int> got;
    uint8_t pixel[4];
    while (got.size() < row.expected.size()) {
      ASSERT_TRUE(reader.getPixel(pixel));
      got.insert(got.end(), pixel, pixel + row.comps);
    }
    EXPECT_EQ(got, row.expected) << row.width << "x" << row.comps << "x" << row.bits;
  }
  auto stream = makeMemoryStream("x");
  uint8_t pixel[1];
  EXPECT_FALSE(PixelReader(*stream, 1, 1, 3).getPixel(pixel));
  EXPECT_FALSE(PixelReader(*stream, 2000000000, 32, 16).ok());
}

}  // namespace
}  // namespace qv::test
