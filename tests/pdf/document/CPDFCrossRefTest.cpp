#include "pdf/document/CPDFCrossRef.h"

#include <gtest/gtest.h>

#include "DocumentTestUtil.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/Limits.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using test::appendUpdate;
using test::onePage;
using test::openBytes;
using test::PdfFixture;

// The value of object 4 (an integer marker) as the document reads it, or -1.
int marker(CPDFDocument& doc, int num = 4, int gen = 0) {
  const CPDFObject obj = doc.getXRef()->fetchObject(num, gen);
  return obj.isInt() ? obj.getInt() : -1;
}

TEST(CPDFCrossRef, JunkBeforeHeaderCountsOffsetsFromTheHeader) {
  PdfFixture pdf = onePage();
  pdf.add("42");
  pdf.version("1.3").junkBeforeHeader(std::string(100, 'J'));
  ErrorLog log;
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  EXPECT_FALSE(doc->getXRef()->wasRebuilt());
  EXPECT_DOUBLE_EQ(doc->getPDFVersion(), 1.3);
  EXPECT_EQ(marker(*doc), 42);
  EXPECT_EQ(log.size(), 0u);
}

struct HeaderCase {
  const char* version;
  double expected;
  size_t warnings;
};

class HeaderVersion : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderVersion, WarnsAboveOnePointFive) {
  PdfFixture pdf = onePage();
  pdf.version(GetParam().version);
  ErrorLog log;
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  EXPECT_DOUBLE_EQ(doc->getPDFVersion(), GetParam().expected);
  EXPECT_EQ(log.countContaining("current supports version 1.5"), GetParam().warnings);
}

INSTANTIATE_TEST_SUITE_P(Versions, HeaderVersion,
                         ::testing::Values(HeaderCase{"1.4", 1.4, 0}, HeaderCase{"1.5", 1.5, 0},
                                           HeaderCase{"1.6", 1.6, 1}, HeaderCase{"2.0", 2.0, 1},
                                           HeaderCase{"x1", 0, 1}));

TEST(CPDFCrossRef, MissingHeaderWarnsAndReads) {
  std::string bytes = onePage().build();
  bytes[1] = 'X';  // "%XDF-"
  ErrorLog log;
  auto doc = openBytes(bytes);
  EXPECT_TRUE(doc->ok());
  EXPECT_EQ(log.count("May not be a PDF file (continuing anyway)"), 1u);
  EXPECT_EQ(doc->getPDFVersion(), 0);
}

// Damaged files that open through the rebuild scan, and what is lost in each.
struct DamageCase {
  const char* name;
  void (*damage)(PdfFixture&);
  std::string (*edit)(std::string);
};

const DamageCase kDamageCases[] = {
    {"WrongStartxref", [](PdfFixture& p) { p.startxrefDelta(7); }, nullptr},
    {"NoStartxref", [](PdfFixture& p) { p.omitStartxref(); }, nullptr},
    {"NoTable", [](PdfFixture& p) { p.omitXref(); }, nullptr},
    {"BadEntryType", nullptr, [](std::string s) { return s.replace(s.find(" n\r\n"), 2, " x"); }},
    {"Truncated", nullptr, [](std::string s) { return s.substr(0, s.find("xref") + 20); }},
    {"SubsectionHeaderGarbage", nullptr,
     [](std::string s) { return s.replace(s.find("xref\n0 ") + 5, 1, "Q"); }},
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedFile : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFile, OpensThroughTheRebuild) {
  PdfFixture pdf = onePage();
  pdf.add("42");
  if (GetParam().damage) {
    GetParam().damage(pdf);
  }
  std::string bytes = pdf.build();
  if (GetParam().edit) {
    bytes = GetParam().edit(bytes);
  }
  ErrorLog log;
  auto doc = openBytes(bytes);
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(marker(*doc), 42);
  EXPECT_TRUE(doc->getXRef()->wasRebuilt());
  EXPECT_EQ(log.count("PDF file is damaged - attempting to reconstruct xref table..."), 1u);
  EXPECT_EQ(doc->getNumPages(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFile, ::testing::ValuesIn(kDamageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFCrossRef, RebuildWithoutAnyRootFails) {
  PdfFixture pdf;
  pdf.add("<< /Type /Pages /Kids [] /Count 0 >>");
  pdf.omitXref().omitTrailer();
  ErrorLog log;
  auto doc = openBytes(pdf.build());
  EXPECT_FALSE(doc->ok());
  EXPECT_EQ(log.count("Couldn't find trailer dictionary"), 1u);
  EXPECT_EQ(log.count("Couldn't read xref table"), 1u);
}

TEST(CPDFCrossRef, IncrementalUpdateResolvesToNewestDefinition) {
  PdfFixture pdf = onePage();
  pdf.add("1");  // 4
  pdf.add("2");  // 5
  const std::string base = pdf.build();
  const std::string updated = appendUpdate(base, {{4, "100"}}, pdf.xrefOffset(), 6);
  auto doc = openBytes(updated);
  ASSERT_TRUE(doc->ok());
  EXPECT_FALSE(doc->getXRef()->wasRebuilt());
  EXPECT_EQ(marker(*doc, 4), 100);
  EXPECT_EQ(marker(*doc, 5), 2);
}

TEST(CPDFCrossRef, PrevLoopIsRepairedByTheRebuild) {
  PdfFixture pdf = onePage();
  pdf.add("1");
  pdf.add("2");
  const std::string base = pdf.build();
  // The update's Prev names the update's own table, so the base table is never reached.
  std::string updated = appendUpdate(base, {{4, "7"}}, 0, 6);
  const long ownXref = static_cast<long>(updated.rfind("\nxref\n")) + 1;
  updated = appendUpdate(base, {{4, "7"}}, ownXref, 6);
  ErrorLog log;
  auto doc = openBytes(updated);
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(log.count("Loop in cross-reference Prev chain"), 1u);
  EXPECT_TRUE(doc->getXRef()->wasRebuilt());
  EXPECT_EQ(marker(*doc, 4), 7);
  EXPECT_EQ(marker(*doc, 5), 2);
  EXPECT_EQ(doc->getNumPages(), 1);
}

TEST(CPDFCrossRef, RebuildPrefersLaterDefinitionAndHigherGeneration) {
  PdfFixture pdf = onePage();
  pdf.addObject(4, 0, "1");
  pdf.addObject(4, 0, "2");  // later, same generation: wins
  pdf.addObject(5, 1, "10");
  pdf.addObject(5, 0, "20");  // later but lower generation: loses
  pdf.omitXref();
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(marker(*doc, 4), 2);
  EXPECT_EQ(marker(*doc, 5, 1), 10);
  EXPECT_EQ(marker(*doc, 5, 0), -1);
}

TEST(CPDFCrossRef, RebuiltStreamIsReadUpToEndstream) {
  PdfFixture pdf = onePage();
  pdf.add(PdfFixture::stream("", "0123456789ABCDEF", 5));
  pdf.omitXref();
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  const CPDFObject obj = doc->getXRef()->fetchObject(4, 0);
  ASSERT_TRUE(obj.isStream());
  CPDFStream* stream = obj.getStream();
  stream->reset();
  const std::string data = stream->readAll(1000);
  stream->close();
  // Everything up to the "endstream" line, whatever Length said.
  EXPECT_EQ(data.substr(0, 16), "0123456789ABCDEF");
  EXPECT_LE(data.size(), 17u);
}

TEST(CPDFCrossRef, GenerationMismatchAndUnknownObjectsAreNull) {
  PdfFixture pdf = onePage();
  pdf.add("42");
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(marker(*doc, 4, 0), 42);
  EXPECT_TRUE(doc->getXRef()->fetchObject(4, 1).isNull());
  EXPECT_TRUE(doc->getXRef()->fetchObject(99, 0).isNull());
  EXPECT_TRUE(doc->getXRef()->fetchObject(-1, 0).isNull());
}

TEST(CPDFCrossRef, OffByOneSubsectionIsReadFromZero) {
  std::string bytes = onePage().build();
  auto pos = bytes.find("xref\n0 ");
  // "0 4" becomes "1 4": a first entry of 0 65535 f marks the writer's numbering slip.
  bytes[pos + 5] = '1';
  auto doc = openBytes(bytes);
  ASSERT_TRUE(doc->ok());
  EXPECT_FALSE(doc->getXRef()->wasRebuilt());
  EXPECT_EQ(doc->getNumPages(), 1);
}

TEST(CPDFCrossRef, HugeObjectNumbersInTheScanAreIgnored) {
  PdfFixture pdf = onePage();
  pdf.addObject(999999999, 0, "1");
  pdf.addObject(8388607, 0, "5");
  pdf.omitXref();
  std::string bytes = pdf.build();
  bytes += "2147483647 0 obj\n1\nendobj\n99999999999999999999999 0 obj\n1\nendobj\n";
  auto doc = openBytes(bytes);
  ASSERT_TRUE(doc->ok());
  EXPECT_LE(doc->getXRef()->getSize(), kMaxObjectNumber + 1);
  EXPECT_EQ(marker(*doc, 8388607), 5);
}

TEST(CPDFCrossRef, HugeSubsectionFallsBackToTheScan) {
  std::string bytes = onePage().build();
  const auto pos = bytes.find("xref\n0 4");
  bytes.replace(pos, 8, "xref\n0 99999999");
  auto doc = openBytes(bytes);
  ASSERT_TRUE(doc->ok());
  EXPECT_TRUE(doc->getXRef()->wasRebuilt());
  EXPECT_LT(doc->getXRef()->getSize(), 1000);
}

TEST(CPDFCrossRef, SelfReferentialLengthDoesNotLoop) {
  PdfFixture pdf = onePage();
  pdf.add("<< /Length 4 0 R >>\nstream\nabc\nendstream");
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  const CPDFObject obj = doc->getXRef()->fetchObject(4, 0);
  EXPECT_FALSE(obj.isStream());
}

TEST(CPDFCrossRef, HugeTrailerSizeIsBounded) {
  PdfFixture pdf = onePage();
  std::string bytes = pdf.build();
  const auto pos = bytes.find("/Size 4");
  bytes.replace(pos, 7, "/Size 2147483647");
  auto doc = openBytes(bytes);
  ASSERT_TRUE(doc->ok());
  EXPECT_LT(doc->getXRef()->getSize(), 1000);
}

// A file with only a cross-reference stream: its dictionary stands in for the trailer; an
// object kept in an object stream reads as null.
TEST(CPDFCrossRef, CrossReferenceStreamFileOpensThroughTheRebuild) {
  PdfFixture pdf = onePage();
  pdf.add("<< /Type /ObjStm /N 1 /First 4 /Length 6 >>\nstream\n7 0 42\nendstream");
  pdf.add(PdfFixture::stream("/Type /XRef /Size 8 /Root 1 0 R /W [1 2 1]", "\x01\x00\x00\x00"));
  pdf.omitXref().omitTrailer().version("1.5");
  ErrorLog log;
  auto doc = openBytes(pdf.build());
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(doc->getNumPages(), 1);
  EXPECT_TRUE(doc->getXRef()->fetchObject(4, 0).isStream());
  EXPECT_TRUE(doc->getXRef()->fetchObject(7, 0).isNull());
}

TEST(CPDFCrossRef, MixedCaseNameOpensLowerCaseFile) {
  test::ScratchDir dir("qv-xref-case");
  onePage().write(dir / "mixed.pdf");
  CPDFDocument doc((dir / "MiXeD.PdF").string(), std::nullopt, std::nullopt);
  EXPECT_TRUE(doc.ok());
  ErrorLog log;
  CPDFDocument missing((dir / "absent.pdf").string(), std::nullopt, std::nullopt);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(log.countContaining("Couldn't open file"), 1u);
}

}  // namespace
}  // namespace qv
