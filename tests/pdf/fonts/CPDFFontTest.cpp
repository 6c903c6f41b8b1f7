#include "pdf/fonts/CPDFFont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "pdf/config/CPDFConfig.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/CPDFCIDFont.h"
#include "pdf/fonts/CPDFFontDict.h"
#include "pdf/fonts/CPDFSimpleFont.h"

namespace qv {
namespace {

class FontTest : public ::testing::Test {
 protected:
  FontTest() : config_("", CPDFConfigLocations{}) {
    context_.xref = &xref_;
    context_.config = &config_;
  }

  std::unique_ptr<CPDFFont> make(const std::string& dictText) {
    CPDFObject dict = xref_.parse(dictText);
    EXPECT_TRUE(dict.isDict()) << dictText;
    return CPDFFont::makeFont(context_, "F1", {5, 0}, *dict.getDict());
  }

  // The characters `bytes` decode into.
  static std::vector<CPDFChar> show(CPDFFont& font, const std::string& bytes) {
    std::vector<CPDFChar> chars;
    std::span<const uint8_t> rest(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    while (!rest.empty()) {
      CPDFChar c;
      int n = font.nextChar(rest, c);
      chars.push_back(c);
      rest = rest.subspan(std::min<size_t>(static_cast<size_t>(n), rest.size()));
    }
    return chars;
  }

  test::MapResolver xref_;
  CPDFConfig config_;
  CPDFFontContext context_;
};

TEST_F(FontTest, SimpleFontEncodingsAndWidths) {
  struct Case {
    const char* dict;
    int code;
    char16_t unicode;
    double width;
  } cases[] = {
      // TrueType without Encoding or program: MacRoman; default flags (serif) give the
      // widths of Times-Roman.
      {"<< /Type /Font /Subtype /TrueType /BaseFont /Foo >>", 128, 0xC4, 0.722},
      // ArialMT takes Helvetica's widths; code 32 keeps the space width.
      {"<< /Subtype /TrueType /BaseFont /ArialMT /Encoding << /Differences [32 /A] >> >>", 32, 'A',
       0.278},
      {"<< /Subtype /Type1 /BaseFont /Helvetica >>", 'A', 'A', 0.667},
      {"<< /Subtype /Type1 /BaseFont /Courier-Bold /Encoding /WinAnsiEncoding >>", 0x93, 0x201C,
       0.6},
      // Differences: 39 quotesingle grave, and names past 255 are dropped.
      {"<< /Subtype /Type1 /BaseFont /Times-Roman /Encoding << /Differences [39 /quotesingle "
       "/grave 255 /a /b /c] >> >>",
       40, '`', 0.333},
      {"<< /Subtype /Type1 /BaseFont /Times-Roman /Encoding << /Differences [39 /quotesingle "
       "/grave] >> >>",
       41, ')', 0.333},
      // Widths array over FirstChar..LastChar; other codes get MissingWidth.
      {"<< /Subtype /Type1 /BaseFont /X /FirstChar 65 /LastChar 66 /Widths [500 600] "
       "/FontDescriptor << /MissingWidth 250 >> >>",
       66, 'B', 0.6},
      {"<< /Subtype /Type1 /BaseFont /X /FirstChar 65 /LastChar 66 /Widths [500 600] "
       "/FontDescriptor << /MissingWidth 250 >> >>",
       67, 'C', 0.25},
      // Non-standard font without Widths: flags choose the standard font (serif italic).
      {"<< /Subtype /Type1 /BaseFont /Other /FontDescriptor << /Flags 66 >> >>", 'A', 'A', 0.611},
      {"<< /Subtype /Type1 /BaseFont /Other /FontDescriptor << /Flags 262145 >> >>", 'A', 'A', 0.6},
      // Numeric glyph names: hexadecimal when some name is hex with a letter digit.
      {"<< /Subtype /Type1 /BaseFont /X /Encoding << /Differences [1 /G41 /g3A] >> >>", 1, 0x41, 0},
      {"<< /Subtype /Type1 /BaseFont /X /Encoding << /Differences [1 /G41 /g3A] >> >>", 2, 0x3A, 0},
      {"<< /Subtype /Type1 /BaseFont /X /Encoding << /Differences [1 /c65] >> >>", 1, 65, 0},
  };
  for (const Case& c : cases) {
    auto font = make(c.dict);
    ASSERT_TRUE(font && font->isOk()) << c.dict;
    std::vector<CPDFChar> chars = show(*font, std::string(1, static_cast<char>(c.code)));
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].code, static_cast<uint32_t>(c.code)) << c.dict;
    EXPECT_EQ(chars[0].unicodeCount, 1) << c.dict;
    EXPECT_EQ(chars[0].unicode[0], c.unicode) << c.dict;
    EXPECT_NEAR(chars[0].dx, c.width, 1e-9) << c.dict;
  }
}

TEST_F(FontTest, AliasesAndStandardMetrics) {
  auto font = make("<< /Subtype /TrueType /BaseFont /Arial,Bold >>");
  EXPECT_EQ(font->name(), "Helvetica-Bold");
  EXPECT_EQ(font->kind(), CPDFFontKind::kTrueType);
  EXPECT_NEAR(font->ascent(), 0.718, 1e-9);
  EXPECT_NEAR(font->descent(), -0.207, 1e-9);
  EXPECT_NEAR(font->fontBBox()[3], 0.962, 1e-9);

  font = make(
      "<< /Subtype /Type1 /BaseFont /Other /FontDescriptor << /Ascent 800 /Descent 0 "
      "/ItalicAngle -12.5 /Flags 4 /FontBBox [0 -100 (x) 900] >> >>");
  EXPECT_NEAR(font->ascent(), 0.8, 1e-9);
  EXPECT_NEAR(font->descent(), -0.35, 1e-9);
  EXPECT_EQ(font->italicAngle(), -12);
  EXPECT_EQ(font->flags(), 4);
  EXPECT_NEAR(font->fontBBox()[1], -0.1, 1e-9);
  EXPECT_EQ(font->fontBBox()[2], 0);
}

TEST_F(FontTest, DoubleByteRuleFollowsTheCodePage) {
  const std::string bytes = "\xC4\xE3";
  auto simsun = make("<< /Subtype /TrueType /BaseFont /SimSun >>");
  EXPECT_EQ(show(*simsun, bytes).size(), 2u);  // Windows-1252: one byte per character

  context_.codePage = LegacyCodePage::kGBK;
  simsun = make("<< /Subtype /TrueType /BaseFont /SimSun >>");
  std::vector<CPDFChar> chars = show(*simsun, bytes);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].code, 0xC4E3u);
  EXPECT_EQ(chars[0].unicodeCount, 1);
  EXPECT_EQ(chars[0].unicode[0], u'\u4F60');

  auto helvetica = make("<< /Subtype /Type1 /BaseFont /Helvetica >>");
  EXPECT_EQ(show(*helvetica, bytes).size(), 2u);
}

TEST_F(FontTest, EmbeddedProgramGivesNameAndEncoding) {
  xref_.setStream(9, "", "/FontName /ABCDEF+Real def\n/Encoding 256 array\ndup 65 /B put\ndef\n");
  auto font = make(
      "<< /Subtype /Type1 /BaseFont /ABCDEF+Real /FontDescriptor << /FontName "
      "/Desc /FontFile 9 0 R >> >>");
  ASSERT_TRUE(font->isOk());
  EXPECT_TRUE(font->hasEmbeddedFont());
  EXPECT_EQ(font->embeddedFontName(), "ABCDEF+Real");
  std::vector<CPDFChar> chars = show(*font, "A");
  EXPECT_EQ(chars[0].unicode[0], 'B');

  ErrorLog log;
  font = make("<< /Subtype /TrueType /BaseFont /X /FontDescriptor << /FontFile 9 0 R >> >>");
  EXPECT_FALSE(font->hasEmbeddedFont());
  EXPECT_EQ(log.count("Mismatch between font type and embedded font file"), 1u);
}

TEST_F(FontTest, CIDFontWidthsAndUnicode) {
  auto font = make(
      "<< /Subtype /Type0 /BaseFont /C /Encoding /Identity-H /DescendantFonts [ << /Subtype "
      "/CIDFontType2 /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
      "/W [1 [500 600] 10 20 300] /DW 900 /CIDToGIDMap /Identity >> ] >>");
  ASSERT_TRUE(font && font->isOk());
  EXPECT_TRUE(font->isCIDFont());
  EXPECT_EQ(font->kind(), CPDFFontKind::kCIDType2);
  std::vector<CPDFChar> chars = show(*font, std::string("\x00\x01\x00\x02\x00\x0f\x00\x05", 8));
  ASSERT_EQ(chars.size(), 4u);
  EXPECT_EQ(chars[0].code, 1u);
  EXPECT_EQ(chars[0].unicodeCount, 0);
  EXPECT_NEAR(chars[0].dx, 0.5, 1e-9);
  EXPECT_NEAR(chars[1].dx, 0.6, 1e-9);
  EXPECT_NEAR(chars[2].dx, 0.3, 1e-9);
  EXPECT_NEAR(chars[3].dx, 0.9, 1e-9);

  // Vertical: W2 exception and the defaults.
  font = make(
      "<< /Subtype /Type0 /Encoding /Identity-V /DescendantFonts [ << /Subtype /CIDFontType0 "
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) >> /W2 [3 [-500 100 800]] >> ] "
      ">>");
  ASSERT_TRUE(font && font->isOk());
  chars = show(*font, std::string("\x00\x03\x00\x04", 4));
  EXPECT_EQ(font->writingMode(), 1);
  EXPECT_NEAR(chars[0].dy, -0.5, 1e-9);
  EXPECT_NEAR(chars[0].originY, 0.8, 1e-9);
  EXPECT_NEAR(chars[1].dy, -1.0, 1e-9);
  EXPECT_NEAR(chars[1].originX, 0.5, 1e-9);
  EXPECT_NEAR(chars[1].originY, 0.88, 1e-9);
}

TEST_F(FontTest, CIDFontFailures) {
  struct Case {
    const char* dict;
    const char* message;
  } cases[] = {
      {"<< /Subtype /Type0 /Encoding /Identity-H >>",
       "Missing DescendantFonts entry in Type 0 font"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [1] >>",
       "Bad descendant font in Type 0 font"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [<< >>] >>",
       "Missing Subtype entry in Type 0 descendant font"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [<< /Subtype /X >>] >>",
       "Unknown Type 0 descendant font type 'X'"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [<< /Subtype /CIDFontType0 "
       ">>] >>",
       "Missing CIDSystemInfo dictionary in Type 0 descendant font"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [<< /Subtype /CIDFontType0 "
       "/CIDSystemInfo << /Registry /Adobe /Ordering (Identity) >> >>] >>",
       "Invalid CIDSystemInfo dictionary in Type 0 descendant font"},
      {"<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [<< /Subtype /CIDFontType0 "
       "/CIDSystemInfo << /Registry (Nobody) /Ordering (Nothing) >> >>] >>",
       "Unknown character collection 'Nobody-Nothing'"},
      {"<< /Subtype /Type0 /DescendantFonts [<< /Subtype /CIDFontType0 /CIDSystemInfo << "
       "/Registry (Adobe) /Ordering (Identity) >> >>] >>",
       "Missing or invalid Encoding entry in Type 0 font"},
      {"<< /Subtype /Type0 /Encoding /NoSuchCMap /DescendantFonts [<< /Subtype /CIDFontType0 "
       "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) >> >>] >>",
       "Unknown CPDFMap 'NoSuchCMap' for character collection 'Adobe-Identity'"},
  };
  for (const Case& c : cases) {
    ErrorLog log;
    auto font = make(c.dict);
    EXPECT_FALSE(font->isOk()) << c.dict;
    EXPECT_EQ(log.count(c.message), 1u) << c.dict;
  }
}

TEST_F(FontTest, BadWidthArraysReportAndGoOn) {
  ErrorLog log;
  auto font = make(
      "<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ << /Subtype /CIDFontType0 "
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) >> /W [/x 5 [100 /y 200] 7 8] "
      ">> ] >>");
  ASSERT_TRUE(font->isOk());
  auto& cid = static_cast<CPDFCIDFont&>(*font);
  EXPECT_NEAR(cid.widthOf(5), 0.1, 1e-9);
  EXPECT_NEAR(cid.widthOf(6), 0.2, 1e-9);
  EXPECT_NEAR(cid.widthOf(7), 1.0, 1e-9);
  EXPECT_EQ(log.count("Bad widths array in Type 0 font"), 3u);
}

TEST_F(FontTest, FontDictKeepsGoodFontsByTag) {
  xref_.set(7, "<< /Subtype /Type1 /BaseFont /Courier >>");
  CPDFObject resources = xref_.parse(
      "<< /F1 7 0 R /F2 (not a font) /F3 << /Subtype /Type1 /BaseFont /Symbol >> "
      "/F4 << /Subtype /Type0 >> >>");
  ErrorLog log;
  CPDFFontDict fonts(context_, *resources.getDict());
  EXPECT_EQ(log.count("font resource is not a dictionary"), 1u);
  ASSERT_TRUE(fonts.lookup("F1"));
  EXPECT_EQ(fonts.lookup("F1")->ref(), (CPDFRef{7, 0}));
  ASSERT_TRUE(fonts.lookup("F3"));
  EXPECT_EQ(fonts.lookup("F3")->ref(), (CPDFRef{2, 999999}));
  EXPECT_FALSE(fonts.lookup("F2"));
  EXPECT_FALSE(fonts.lookup("F4"));
  EXPECT_FALSE(fonts.lookup("f1"));
}

}  // namespace
}  // namespace qv
