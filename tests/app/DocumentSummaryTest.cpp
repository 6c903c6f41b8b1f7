// The document summary text: file facts, version labels, page size and page count from
// small generated documents.

#include "app/DocumentSummary.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "tests/support/PdfFixture.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

TEST(DocumentSummary, ThousandsSeparators) {
  const std::pair<uintmax_t, const char*> cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1536, "1,536"},
      {5000000 / 1024, "4,882"},
      {1234567, "1,234,567"},
      {UINTMAX_MAX, "18,446,744,073,709,551,615"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(WithThousandsSeparators(value), text);
  }
}

TEST(DocumentSummary, VersionLabels) {
  const std::pair<double, const char*> cases[] = {
      {1.0, " (Acrobat 1.x) "},
      {1.1, " (Acrobat 2.x) "},
      {1.2, " (Acrobat 3.x) "},
      {1.3, " (Acrobat 4.x) "},
      {1.4, " (Acrobat 5.x) "},
      {1.5, " (Acrobat 6.x) "},
      {1.6, " (Acrobat 7.x) "},
      {1.7, " (Unknown Acrobat Version) "},
      {0.0, " (Unknown Acrobat Version) "},
      {2.0, " (Unknown Acrobat Version) "},
  };
  for (const auto& [version, label] : cases) {
    EXPECT_EQ(AcrobatVersionLabel(version), label) << version;
  }
}

// A one-page document whose page carries `pageEntries` (boxes), padded to `size` bytes.
std::string onePage(const std::string& version, const std::string& pageEntries, size_t size = 0) {
  test::PdfFixture pdf({"<< /Type /Catalog /Pages 2 0 R >>",
                        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                        "<< /Type /Page /Parent 2 0 R " + pageEntries + " >>"});
  pdf.version(version);
  std::string bytes = pdf.build();
  if (size > bytes.size() + 1) {
    pdf.tail("%" + std::string(size - bytes.size() - 1, 'x'));
    bytes = pdf.build();
  }
  return bytes;
}

TEST(DocumentSummary, DocumentFacts) {
  test::ScratchDir dir("qv-summary");
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;  // each must appear in the text
  };
  const Case cases[] = {
      {"letter.pdf",
       onePage("1.4", "/MediaBox [0 0 612 792]", 1536),
       {"\tFile Size: 1 KB (1,536 Bytes)\n", "\tPDF Version: 1.4 (Acrobat 5.x) \n",
        "\tPage Size: 816 x 1056 Pixel\n", "\tNumber of Pages: 1\n"}},
      {"new.pdf", onePage("1.7", ""), {"\tPDF Version: 1.7 (Unknown Acrobat Version) \n"}},
      // The crop box where the page has one, even when it cuts little.
      {"crop.pdf",
       onePage("1.3", "/MediaBox [0 0 612 792] /CropBox [0 0 600 780]"),
       {"\tPage Size: 800 x 1040 Pixel\n"}},
      // Corners written the other way round still give a positive size.
      {"swapped.pdf",
       onePage("1.3", "/MediaBox [612 792 0 0]"),
       {"\tPage Size: 816 x 1056 Pixel\n"}},
      {"empty.pdf",
       test::PdfFixture(
           {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count 0 >>"})
           .build(),
       {"\tPage Size: 0 x 0 Pixel\n", "\tNumber of Pages: 0\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeFile(dir / c.name, c.bytes);
    std::optional<std::string> text = DocumentSummaryText(dir / c.name, std::nullopt, std::nullopt);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->rfind((dir / c.name).string() + "\nSummary:\n\tFile Size: ", 0), 0u) << *text;
    for (const std::string& line : c.lines) {
      EXPECT_NE(text->find(line), std::string::npos) << line << "\n" << *text;
    }
    EXPECT_TRUE(std::regex_search(
        *text, std::regex("\n\tCreation Time: \\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d{4}\nPDF "
                          "Description:\n")))
        << *text;
    const std::string tail =
        "PDF Security:\n\tPrinting: Allowed\n\tDocument Assembly: Allowed\n"
        "\tContent Copying or Extraction: Allowed\n\tCommenting: Allowed";
    EXPECT_EQ(text->substr(text->size() - std::min(text->size(), tail.size())), tail);
  }
}

TEST(DocumentSummary, NoneWhenTheDocumentDoesNotOpen) {
  test::ScratchDir dir("qv-summary");
  test::writeFile(dir / "text.pdf", "just some text");
  test::writeFile(dir / "noroot.pdf",
                  test::PdfFixture({"<< /Type /Catalog >>"}).omitTrailer().omitXref().build());
  for (const char* name : {"text.pdf", "noroot.pdf", "missing.pdf"}) {
    EXPECT_FALSE(DocumentSummaryText(dir / name, std::nullopt, std::nullopt).has_value()) << name;
  }
  EXPECT_FALSE(FileCreationTime(dir / "missing.pdf").has_value());
}

TEST(DocumentSummary, CreationTimeOfANewFileIsNow) {
  test::ScratchDir dir("qv-summary");
  const std::time_t before = std::time(nullptr);
  test::writeFile(dir / "a.pdf", "x");
  std::optional<std::time_t> created = FileCreationTime(dir / "a.pdf");
  ASSERT_TRUE(created.has_value());
  EXPECT_GE(*created, before - 2);
  EXPECT_LE(*created, std::time(nullptr) + 2);
}

}  // namespace
}  // namespace qv
