#include "pdf/document/CPDFCatalog.h"

#include <gtest/gtest.h>

#include "DocumentTestUtil.h"
#include "pdf/core/CPDFArray.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/document/DocumentLimits.h"

namespace qv {
namespace {

using test::openBytes;
using test::PdfFixture;

// A two-level tree: catalog 1, root node 2 with `rootEntries`, middle node 3 with
// `nodeEntries`, page 4 with `pageEntries`.
std::unique_ptr<CPDFDocument> openTree(const std::string& rootEntries,
                                       const std::string& nodeEntries,
                                       const std::string& pageEntries) {
  PdfFixture pdf;
  pdf.add("<< /Type /Catalog /Pages 2 0 R >>");
  pdf.add("<< /Type /Pages /Kids [3 0 R] /Count 1 " + rootEntries + " >>");
  pdf.add("<< /Type /Pages /Kids [4 0 R] /Parent 2 0 R " + nodeEntries + " >>");
  pdf.add("<< /Type /Page /Parent 3 0 R " + pageEntries + " >>");
  return openBytes(pdf.build());
}

struct AttrCase {
  const char* name;
  const char* root;
  const char* node;
  const char* page;
  PDFRectangle media;
  PDFRectangle effective;
  bool haveCrop;
  int rotate;
};

const AttrCase kAttrCases[] = {
    {"Defaults", "", "", "", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 0},
    {"InheritedMediaBox",
     "/MediaBox [0 0 200 300]",
     "",
     "",
     {0, 0, 200, 300},
     {0, 0, 200, 300},
     false,
     0},
    {"PageOverridesMediaBox",
     "/MediaBox [0 0 200 300]",
     "",
     "/MediaBox [10 20 110.5 220]",
     {10, 20, 110.5, 220},
     {10, 20, 110.5, 220},
     false,
     0},
    {"ThreeNumbersIgnored",
     "/MediaBox [0 0 200 300]",
     "",
     "/MediaBox [0 0 612]",
     {0, 0, 200, 300},
     {0, 0, 200, 300},
     false,
     0},
    {"NonNumberIgnored",
     "",
     "/MediaBox [0 0 /A 5]",
     "",
     {0, 0, 612, 792},
     {0, 0, 612, 792},
     false,
     0},
    {"SmallCropIsNoLimit",
     "",
     "",
     "/CropBox [0 0 500 700]",
     {0, 0, 612, 792},
     {0, 0, 612, 792},
     true,
     0},
    {"LargeCropIsALimit",
     "",
     "",
     "/CropBox [100 100 300 300]",
     {0, 0, 612, 792},
     {100, 100, 300, 300},
     true,
     0},
    {"CropNotInheritedPastANodeWithout",
     "/CropBox [100 100 300 300]",
     "",
     "",
     {0, 0, 612, 792},
     {0, 0, 612, 792},
     false,
     0},
    {"RotateInherited", "/Rotate 90", "", "", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 90},
    {"RotateOverridden",
     "/Rotate 90",
     "",
     "/Rotate 180",
     {0, 0, 612, 792},
     {0, 0, 612, 792},
     false,
     180},
    {"RotateNegative", "", "/Rotate -90", "", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 270},
    {"RotateAboveFullTurn", "", "", "/Rotate 450", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 90},
    {"RotateNotMultipleOf90", "", "", "/Rotate -1", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 359},
    {"RotateHuge", "", "", "/Rotate -2147483647", {0, 0, 612, 792}, {0, 0, 612, 792}, false, 233},
    {"RotateReal",
     "/Rotate 90",
     "",
     "/Rotate 180.0",
     {0, 0, 612, 792},
     {0, 0, 612, 792},
     false,
     90},
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const AttrCase& c, std::ostream* os) { *os << c.name; }

class PageAttributes : public ::testing::TestWithParam<AttrCase> {};

TEST_P(PageAttributes, InheritAndNormalise) {
  const AttrCase& c = GetParam();
  auto doc = openTree(c.root, c.node, c.page);
  ASSERT_TRUE(doc->ok());
  ASSERT_EQ(doc->getNumPages(), 1);
  const CPDFPage& page = *doc->getCatalog()->getPage(1);
  EXPECT_EQ(page.mediaBox(), c.media);
  EXPECT_EQ(page.effectiveBox(), c.effective);
  EXPECT_EQ(page.haveCropBox(), c.haveCrop);
  EXPECT_EQ(page.rotate(), c.rotate);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageAttributes, ::testing::ValuesIn(kAttrCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFCatalog, OtherBoxesStartFromTheCropBoxAndResourcesInherit) {
  auto doc = openTree("/Resources << /Font << >> >>", "",
                      "/CropBox [10 10 500 700] /TrimBox [20 20 400 600]");
  ASSERT_TRUE(doc->ok());
  const CPDFPage& page = *doc->getCatalog()->getPage(1);
  EXPECT_EQ(page.attrs().bleedBox(), (PDFRectangle{10, 10, 500, 700}));
  EXPECT_EQ(page.attrs().trimBox(), (PDFRectangle{20, 20, 400, 600}));
  EXPECT_EQ(page.attrs().artBox(), (PDFRectangle{10, 10, 500, 700}));
  EXPECT_TRUE(page.resources().isDict());
}

// Trees that do not open, and trees that open with a warning.
struct TreeCase {
  const char* name;
  std::vector<std::string> objects;  // 1 is the catalog
  bool opens;
  int pages;
  const char* message;
};

const TreeCase kTreeCases[] = {
    {"CountTooHigh",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 3 0 R] /Count 10 >>",
      "<< /Type /Page >>"},
     true,
     1,
     "Page count in top-level pages object is incorrect"},
    {"NegativeCount",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count -5 >>",
      "<< /Type /Page >>", "<< /Type /Page >>"},
     true,
     2,
     "Page count in top-level pages object is incorrect"},
    {"KidWithoutTypeIsANode",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 2 >>",
      "<< /Kids [4 0 R << /Type /Page >>] >>", "<< /Type /Page >>"},
     true,
     2,
     ""},
    {"NodeWithoutKids",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Count 1 >>"},
     false,
     0,
     "Kids object (page 1) is wrong type (null)"},
    {"KidNotADictionary",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 7] /Count 2 >>",
      "<< /Type /Page >>"},
     false,
     0,
     "Kid object (page 2) is wrong type (integer)"},
    {"SelfLoop",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 1 >>",
      "<< /Type /Page >>"},
     true,
     1,
     ""},
    {"IndirectLoop",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Pages /Kids [4 0 R 2 0 R] >>", "<< /Type /Page >>"},
     true,
     1,
     ""},
    {"BadAnnots",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Annots 5 >>"},
     false,
     0,
     "Page annotations object (page 1) is wrong type (integer)"},
    {"BadContents",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Contents (text) >>"},
     false,
     0,
     "Page contents object (page 1) is wrong type (string)"},
    {"CatalogWrongType", {"[1 2]"}, false, 0, "Catalog object is wrong type (array)"},
    {"PagesWrongType",
     {"<< /Type /Catalog /Pages 5 >>"},
     false,
     0,
     "Top-level pages object is wrong type (integer)"},
    {"CountWrongType",
     {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count /Nine >>"},
     false,
     0,
     "Page count in top-level pages object is wrong type (name)"},
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.name; }

class PageTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(PageTree, OpensOrFails) {
  const TreeCase& c = GetParam();
  ErrorLog log;
  auto doc = openBytes(PdfFixture(c.objects).build());
  EXPECT_EQ(doc->ok(), c.opens);
  EXPECT_EQ(doc->getNumPages(), c.pages);
  if (*c.message) {
    EXPECT_EQ(log.count(c.message), 1u);
  }
  if (!c.opens) {
    EXPECT_EQ(log.count("Couldn't read page catalog"), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PageTree, ::testing::ValuesIn(kTreeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFCatalog, DeepTreeIsCutAtTheDepthBound) {
  // A chain of nodes far deeper than the bound, with a page at the bottom.
  std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
  const int levels = kMaxPageTreeDepth + 50;
  for (int i = 0; i < levels; ++i) {
    objects.push_back("<< /Type /Pages /Count 1 /Kids [" + std::to_string(i + 3) + " 0 R] >>");
  }
  objects.push_back("<< /Type /Page >>");
  ErrorLog log;
  auto doc = openBytes(PdfFixture(objects).build());
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(doc->getNumPages(), 0);
  EXPECT_EQ(log.countContaining("Page tree too deep"), 1u);
}

TEST(CPDFCatalog, SharedNodesDoNotMultiplyPages) {
  // Each node lists the next one twice: walked naively this doubles at every level.
  std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>"};
  for (int i = 0; i < 40; ++i) {
    const std::string next = std::to_string(i + 3) + " 0 R";
    objects.push_back("<< /Type /Pages /Count 1 /Kids [" + next + " " + next + "] >>");
  }
  objects.push_back("<< /Type /Page >>");
  auto doc = openBytes(PdfFixture(objects).build());
  ASSERT_TRUE(doc->ok());
  EXPECT_EQ(doc->getNumPages(), 1);
}

TEST(CPDFCatalog, PageReferencesAndDirectPages) {
  auto doc =
      openBytes(PdfFixture({"<< /Type /Catalog /Pages 2 0 R /URI << /Base (http://x/) >> >>",
                            "<< /Type /Pages /Kids [3 0 R << /Type /Page >> 4 0 R] /Count 3 >>",
                            "<< /Type /Page >>", "<< /Type /Page >>"})
                    .build());
  ASSERT_TRUE(doc->ok());
  CPDFCatalog& catalog = *doc->getCatalog();
  ASSERT_EQ(catalog.getNumPages(), 3);
  EXPECT_EQ(catalog.findPageByRef(3, 0), 1);
  EXPECT_EQ(catalog.findPageByRef(4, 0), 3);
  EXPECT_EQ(catalog.findPageByRef(4, 1), 0);
  EXPECT_EQ(catalog.findPageByRef(-1, -1), 2);  // the direct page's placeholder
  EXPECT_EQ(catalog.getPageRef(2), (CPDFRef{-1, -1}));
  EXPECT_EQ(catalog.getPage(0), nullptr);
  EXPECT_EQ(catalog.getPage(4), nullptr);
  ASSERT_TRUE(catalog.getBaseURI().has_value());
  EXPECT_EQ(catalog.getBaseURI()->view(), "http://x/");
}

// Named destinations: an old-style Dests dictionary (names A and Shared) and a name tree
// with two leaves (A..C and M..P).
std::unique_ptr<CPDFDocument> openDests() {
  return openBytes(PdfFixture({
                                  "<< /Type /Catalog /Pages 2 0 R /Dests 4 0 R /Names << "
                                  "/Dests 5 0 R >> >>",
                                  "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                  "<< /Type /Page >>",
                                  "<< /A [3 0 R /Fit] /Shared [3 0 R /XYZ 1 2 3] /Bad 5 >>",
                                  "<< /Kids [6 0 R 7 0 R] >>",
                                  "<< /Limits [(A) (C)] /Names [(A) [3 0 R /FitH 1] (B) << "
                                  "/D [3 0 R /FitV 2] >> (C) 9] >>",
                                  "<< /Limits [(M) (P)] /Names [(M) [3 0 R /FitB] 5 [0] (N) [3 0 "
                                  "R /FitR 1 2 3 4] (Shared) [3 0 R]] >>",
                              })
                       .build());
}

TEST(CPDFCatalog, NamedDestinations) {
  auto doc = openDests();
  ASSERT_TRUE(doc->ok());
  const struct {
    const char* name;
    const char* fit;  // second element of the destination, or "" for none
    size_t badReports;
  } cases[] = {
      {"A", "Fit", 0},       // Dests wins over the tree
      {"Shared", "XYZ", 0},  // Dests
      {"B", "FitV", 0},      // tree, dictionary with D
      {"M", "FitB", 0},      // second leaf
      {"N", "FitR", 0},      // after a non-string key
      {"D", "", 0},          // between the leaves' limits
      {"Z", "", 0},          // beyond every limit
      {"C", "", 1},          // a value of the wrong type
      {"Bad", "", 1},        // wrong type in Dests
  };
  for (const auto& c : cases) {
    ErrorLog log;
    const CPDFObject dest = doc->findNamedDest(CPDFString(c.name));
    if (*c.fit) {
      ASSERT_TRUE(dest.isArray()) << c.name;
      EXPECT_TRUE(dest.arrayGetRaw(1).isName(c.fit)) << c.name;
    } else {
      EXPECT_TRUE(dest.isNull()) << c.name;
    }
    EXPECT_EQ(log.count("Bad named destination value"), c.badReports) << c.name;
  }
}

TEST(CPDFCatalog, NameTreeLoopEnds) {
  auto doc = openBytes(PdfFixture({"<< /Type /Catalog /Pages 2 0 R /Names << /Dests 4 0 R >> >>",
                                   "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", "<< /Type /Page >>",
                                   "<< /Limits [(A) (Z)] /Kids [4 0 R] >>"})
                           .build());
  ASSERT_TRUE(doc->ok());
  EXPECT_TRUE(doc->findNamedDest(CPDFString("K")).isNull());
}

}  // namespace
}  // namespace qv
