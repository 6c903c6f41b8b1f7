#include "tests/support/PdfFixture.h"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace qv::test {
namespace {

// The fixture builder is what every engine test writes its files with, so check that what
// it writes is what it claims: offsets at object headers, startxref at the table, a parsable
// trailer.
TEST(PdfFixture, OffsetsTableAndTrailerAreConsistent) {
  PdfFixture pdf;
  EXPECT_EQ(pdf.add("<< /Type /Catalog >>"), 1);
  EXPECT_EQ(pdf.add(PdfFixture::stream("/Filter /AHx", "4142>")), 2);
  pdf.addObject(5, 1, "(five)");
  pdf.junkBeforeHeader("JUNK").version("1.6");
  const std::string bytes = pdf.build();
  ASSERT_EQ(bytes.rfind("JUNK%PDF-1.6\n", 0), 0u);
  const std::string body = bytes.substr(4);
  for (auto [num, gen] : {std::pair{1, 0}, {2, 0}, {5, 1}}) {
    const long off = pdf.offsetOf(num, gen);
    ASSERT_GE(off, 0);
    const std::string header = std::to_string(num) + " " + std::to_string(gen) + " obj";
    EXPECT_EQ(body.compare(static_cast<size_t>(off), header.size(), header), 0) << header;
    EXPECT_NE(body.find("\n" + std::string(10 - std::to_string(off).size(), '0') +
                        std::to_string(off) + " 0000" + std::to_string(gen) + " n"),
              std::string::npos);
  }
  EXPECT_EQ(body.compare(static_cast<size_t>(pdf.xrefOffset()), 9, "xref\n0 6\n"), 0);
  EXPECT_NE(body.find("startxref\n" + std::to_string(pdf.xrefOffset()) + "\n%%EOF"),
            std::string::npos);

  // The stream object parses with its Length.
  MemoryResolver xref(body);
  CPDFObject s = xref.fetchObject(2, 0);
  ASSERT_TRUE(s.isStream());
  s.getStream()->reset();
  EXPECT_EQ(s.getStream()->readAll(100), "4142>");

  // The trailer parses as a dictionary with Size and Root.
  auto parser = parserFor(body.substr(body.find("trailer") + 7));
  CPDFObject trailer = parser->parseObject();
  ASSERT_TRUE(trailer.isDict());
  EXPECT_EQ(trailer.getDict()->lookupInt("Size", 0), 6);
  EXPECT_TRUE(trailer.getDict()->lookupRef("Root").has_value());
}

TEST(PdfFixture, Switches) {
  PdfFixture pdf({"<< >>"});
  pdf.startxrefDelta(7).trailerEntries("/Root 1 0 R /Info 1 0 R").tail("TAIL");
  std::string bytes = pdf.build();
  EXPECT_NE(bytes.find("startxref\n" + std::to_string(pdf.xrefOffset() + 7)), std::string::npos);
  EXPECT_NE(bytes.find("/Info 1 0 R"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "TAIL");
  EXPECT_NE(PdfFixture::stream("", "abc", 10).find("/Length 10 >>"), std::string::npos);

  bytes = pdf.omitXref().omitTrailer().omitStartxref().build();
  EXPECT_EQ(bytes.find("xref"), std::string::npos);
  EXPECT_EQ(bytes.find("trailer"), std::string::npos);
}

}  // namespace
}  // namespace qv::test
