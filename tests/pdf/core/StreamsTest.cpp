#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "pdf/core/EmbedStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/FileRangeStream.h"
#include "pdf/core/FilterStream.h"
#include "tests/support/TestPaths.h"

namespace qv::test {
namespace {

const std::string kBytes = "0123456789abcdefghij";

struct RangeCase {
  int64_t start;
  int64_t length;
  std::string expected;
};

class FileRangeTable : public ::testing::TestWithParam<RangeCase> {};

TEST_P(FileRangeTable, ReadsExactlyItsRange) {
  const RangeCase& c = GetParam();
  auto whole = makeMemoryStream(kBytes);
  std::unique_ptr<SourceStream> sub = whole->makeSubStream(c.start, c.length, CPDFObject());
  sub->reset();
  EXPECT_EQ(sub->getPos(), c.start);
  EXPECT_EQ(sub->readAll(100), c.expected);
  EXPECT_EQ(sub->nextChar(), -1);
  EXPECT_EQ(sub->peekChar(), -1);
  sub->close();
  sub->reset();  // and again from the start
  EXPECT_EQ(sub->readAll(100), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, FileRangeTable,
                         ::testing::Values(RangeCase{0, -1, kBytes}, RangeCase{5, 3, "567"},
                                           RangeCase{15, -1, "fghij"}, RangeCase{15, 100, "fghij"},
                                           RangeCase{3, 0, ""}, RangeCase{25, 4, ""}));

TEST(FileRangeStream, LargeRangeCrossesBuffers) {
  std::string big;
  for (int i = 0; i < 20000; ++i) {
    big.push_back(static_cast<char>(i * 7));
  }
  auto whole = makeMemoryStream(big);
  auto sub = whole->makeSubStream(1000, 15000, CPDFObject());
  sub->reset();
  EXPECT_EQ(sub->readAll(100000), big.substr(1000, 15000));
  EXPECT_EQ(sub->getPos(), 16000);
}

TEST(FileRangeStream, PositionsAndMoves) {
  auto s = makeMemoryStream(kBytes);
  s->reset();
  EXPECT_EQ(s->nextChar(), '0');
  EXPECT_EQ(s->peekChar(), '1');
  EXPECT_EQ(s->getPos(), 1);
  s->setPos(10);
  EXPECT_EQ(s->nextChar(), 'a');
  s->setPos(-3);  // from the end
  EXPECT_EQ(s->readAll(10), "hij");
  s->setPos(-100);  // clamped to the first byte
  EXPECT_EQ(s->getPos(), 0);
  EXPECT_EQ(s->nextChar(), '0');
  s->moveStart(4);
  EXPECT_EQ(s->getStart(), 4);
  EXPECT_EQ(s->nextChar(), '4');
  s->reset();
  EXPECT_EQ(s->nextChar(), '4');
}

TEST(FileRangeStream, NestedReadingLeavesTheOuterStreamInPlace) {
  auto whole = makeMemoryStream(kBytes);
  whole->reset();
  EXPECT_EQ(whole->nextChar(), '0');
  EXPECT_EQ(whole->nextChar(), '1');
  auto inner = whole->makeSubStream(10, 5, CPDFObject());
  inner->reset();
  EXPECT_EQ(inner->readAll(100), "abcde");
  inner->close();
  EXPECT_EQ(whole->nextChar(), '2');
  EXPECT_EQ(whole->getPos(), 3);
}

TEST(FileRangeStream, ReadsFromDiskAndRefusesMissingFiles) {
  ScratchDir dir;
  writeFile(dir / "f.bin", kBytes);
  RefPtr<CPDFFile> file = CPDFFile::open(dir / "f.bin");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 20);
  FileRangeStream s(file, 18, -1, CPDFObject());
  s.reset();
  EXPECT_EQ(s.readAll(10), "ij");
  EXPECT_FALSE(CPDFFile::open(dir / "missing.bin"));
  EXPECT_FALSE(CPDFFile::open(dir.path()));  // a folder is not a file
}

struct LineCase {
  std::string input;
  int size;
  std::vector<std::string> lines;
};

class ReadLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadLineTable, SplitsLines) {
  const LineCase& c = GetParam();
  auto s = makeMemoryStream(c.input);
  s->reset();
  std::vector<std::string> lines;
  std::vector<char> buf(static_cast<size_t>(c.size));
  while (s->readLine(buf.data(), c.size)) {
    lines.emplace_back(buf.data());
    ASSERT_LT(lines.size(), 100u);
  }
  EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadLineTable,
                         ::testing::Values(LineCase{"", 16, {}},
                                           LineCase{"a\nb\r\nc\rd", 16, {"a", "b", "c", "d"}},
                                           LineCase{"\n\n", 16, {"", ""}},
                                           LineCase{"abcdefg\n", 4, {"abc", "def", "g"}},
                                           LineCase{"abc\n", 4, {"abc"}}));

class CountingFilter : public FilterStream {
 public:
  using FilterStream::FilterStream;
  StreamKind getKind() const override { return StreamKind::RunLength; }
  int resets = 0;

 protected:
  bool refill() override {
    uint8_t* out = beginOutput(3);
    const size_t n = input()->read(out, 3);
    commitOutput(n);
    return n > 0;
  }
  void onReset() override {
    ++resets;
    resetInput();
  }
};

TEST(FilterStream, ForwardsToItsInputAndRefusesSetPos) {
  CPDFObject dict = CPDFObject::makeDict(nullptr);
  dict.getDict()->add("K", CPDFObject::makeInt(1));
  CountingFilter f(
      std::make_unique<FileRangeStream>(CPDFFile::fromBytes(kBytes), 2, 8, std::move(dict)));
  ErrorLog log;
  f.reset();
  EXPECT_EQ(f.resets, 1);
  EXPECT_EQ(f.readAll(100), "23456789");
  EXPECT_EQ(f.getPos(), 10);
  EXPECT_EQ(f.getSource()->getStart(), 2);
  EXPECT_EQ(f.getDict().dictLookup("K").getInt(), 1);
  f.setPos(0);
  EXPECT_EQ(f.getRawChar(), -1);
  EXPECT_EQ(log.count("Internal: called setPos() on FilterStream"), 1u);
  EXPECT_EQ(log.count("Internal: called getRawChar() on non-predictor stream"), 1u);
  f.reset();
  EXPECT_EQ(f.nextChar(), '2');
}

TEST(EmbedStream, ReadsThroughTheContentStreamAndRefusesToMove) {
  auto content = makeMemoryStream("IDxyzEI");
  content->reset();
  content->setPos(2);
  EmbedStream embed(*content, CPDFObject::makeNull());
  embed.reset();
  EXPECT_EQ(embed.getKind(), StreamKind::FileRange);
  EXPECT_EQ(embed.peekChar(), 'x');
  EXPECT_EQ(embed.getPos(), 2);
  EXPECT_EQ(embed.nextChar(), 'x');
  EXPECT_EQ(embed.nextChar(), 'y');
  EXPECT_EQ(embed.getPos(), 4);
  EXPECT_EQ(content->nextChar(), 'z');  // nothing read ahead of the decoder's need

  ErrorLog log;
  embed.setPos(0);
  EXPECT_EQ(embed.makeSubStream(0, 1, CPDFObject()), nullptr);
  EXPECT_EQ(embed.getStart(), 0);
  embed.moveStart(1);
  EXPECT_EQ(log.count("Internal: called setPos() on EmbedStream"), 1u);
  EXPECT_EQ(log.count("Internal: called makeSubStream() on EmbedStream"), 1u);
  EXPECT_EQ(log.count("Internal: called getStart() on EmbedStream"), 1u);
  EXPECT_EQ(log.count("Internal: called moveStart() on EmbedStream"), 1u);
}

TEST(ErrorReport, SinksNestAndDefaultDiscards) {
  reportError(-1, "nobody listens %d", 1);  // must not crash or print
  ErrorLog outer;
  {
    ErrorLog inner;
    reportError(7, "inner %s", "x");
    EXPECT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner.entries()[0].pos, 7);
    EXPECT_EQ(inner.entries()[0].message, "inner x");
  }
  reportError(-1, "outer");
  EXPECT_EQ(outer.size(), 1u);
  EXPECT_EQ(outer.count("outer"), 1u);
}

}  // namespace
}  // namespace qv::test
