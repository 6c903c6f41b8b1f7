#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/data/FontEncodings.h"
#include "pdf/fonts/fontfile/CPDFTrueTypeFontReader.h"
#include "pdf/fonts/fontfile/MacGlyphNames.h"

namespace qv {
namespace {

std::string be16(uint32_t v) {
  return {static_cast<char>(v >> 8), static_cast<char>(v & 0xff)};
}
std::string be32(uint32_t v) {
  return be16(v >> 16) + be16(v & 0xffff);
}

// A TrueType program of the named tables (tag, data), the directory first.
std::string trueType(const std::vector<std::pair<std::string, std::string>>& tables) {
  std::string dir =
      be32(0x00010000) + be16(static_cast<uint32_t>(tables.size())) + be16(0) + be16(0) + be16(0);
  uint32_t offset = 12 + 16 * static_cast<uint32_t>(tables.size());
  std::string body;
  for (const auto& [tag, data] : tables) {
    dir += tag + be32(0) + be32(offset + static_cast<uint32_t>(body.size())) +
           be32(static_cast<uint32_t>(data.size()));
    body += data;
  }
  return dir + body;
}

std::vector<std::pair<std::string, std::string>> requiredTables() {
  std::string head(54, '\0');
  head.replace(36, 8, be16(0xfff6) + be16(0xfff0) + be16(1000) + be16(900));
  std::string maxp = be32(0x00010000) + be16(300);
  return {{"head", head}, {"hhea", std::string(36, '\0')},
          {"loca", ""},   {"maxp", maxp},
          {"glyf", ""},   {"hmtx", ""}};
}

// A format 4 cmap with one segment start..end mapped by `delta`, plus the 0xFFFF segment.
std::string cmapFormat4(int platform, int encoding, uint32_t start, uint32_t end, uint32_t delta) {
  std::string sub = be16(4) + be16(32) + be16(0) + be16(4) + be16(0) + be16(0) + be16(0) +
                    be16(end) + be16(0xffff) + be16(0) + be16(start) + be16(0xffff) +
                    be16(delta & 0xffff) + be16(1) + be16(0) + be16(0);
  return be16(0) + be16(1) + be16(platform) + be16(encoding) + be32(12) + sub;
}

TEST(Type1ReaderTest, NameAndEncodings) {
  struct Case {
    const char* name;
    std::string program;
    std::optional<std::string> fontName;
    std::vector<std::pair<int, std::string>> entries;  // codes with names; others none
    bool standard;
  } cases[] = {
      {"array block",
       "%!PS-AdobeFont-1.0: Test\n/FontName /Test-Font def\r\n/Encoding 256 array\n"
       "0 1 255 {1 index exch /.notdef put} for\n  dup 65 /A put\n\tdup 66 /B put\n"
       "readonly def\ndup 67 /C put\n",
       "Test-Font",
       {{65, "A"}, {66, "B"}},
       false},
      {"standard", "/FontName /Std def\r/Encoding StandardEncoding def\r", "Std", {}, true},
      {"name too late",
       std::string(100 * 2, '\n') + "/FontName /Late def\n",
       std::nullopt,
       {},
       false},
      {"pfb header",
       std::string("\x80\x01\x10\x00\x00\x00", 6) + "/FontName /Pfb def\n",
       "Pfb",
       {},
       false},
  };
  for (const Case& c : cases) {
    auto reader = CPDFFontFileReader::readType1(c.program);
    EXPECT_EQ(reader->fontName(), c.fontName) << c.name;
    const GlyphNameTable& enc = reader->encoding();
    if (c.standard) {
      for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(enc[code].has_value(), standardEncoding()[code] != nullptr) << code;
      }
      EXPECT_EQ(enc[0x41], "A");
      continue;
    }
    int count = 0;
    for (const auto& e : enc)
      count += e.has_value();
    EXPECT_EQ(count, static_cast<int>(c.entries.size())) << c.name;
    for (const auto& [code, glyph] : c.entries) {
      EXPECT_EQ(enc[code], glyph) << c.name;
    }
  }
}

TEST(TrueTypeReaderTest, CmapAndPostNames) {
  // Symbol font: U+F041 -> glyph 36 through a 3/0 subtable.
  auto tables = requiredTables();
  tables.push_back({"cmap", cmapFormat4(3, 0, 0xF041, 0xF041, 36 - 0xF041)});
  CPDFTrueTypeFontReader symbol(trueType(tables));
  EXPECT_EQ(symbol.encoding()[0x41], macGlyphNames()[36]);
  EXPECT_EQ(symbol.encoding()[0x42], ".notdef");
  EXPECT_EQ(symbol.fontName(), std::nullopt);
  EXPECT_EQ(symbol.glyphCount(), 300u);
  EXPECT_EQ(symbol.xMin(), -10);
  EXPECT_EQ(symbol.yMax(), 900);

  // Unicode subtable (3/1) is the first record when there is no 3/0: codes 0x20..0x7e shift
  // by -29 into the Macintosh order (space = glyph 3); no post table gives standard names.
  tables = requiredTables();
  tables.push_back({"cmap", cmapFormat4(3, 1, 0x20, 0x7e, static_cast<uint32_t>(-29))});
  CPDFTrueTypeFontReader latin(trueType(tables));
  EXPECT_EQ(latin.encoding()[0x20], "space");
  EXPECT_EQ(latin.encoding()[0x41], "A");
  EXPECT_EQ(latin.encoding()[0x7e], "asciitilde");

  // post format 2: glyph 36 named by a custom string.
  std::string post = be32(0x00020000) + std::string(28, '\0') + be16(37);
  for (int g = 0; g < 36; ++g)
    post += be16(0);
  post += be16(258);
  post += std::string("\x05Hello", 6);
  tables = requiredTables();
  tables.push_back({"cmap", cmapFormat4(3, 0, 0xF041, 0xF041, 36 - 0xF041)});
  tables.push_back({"post", post});
  CPDFTrueTypeFontReader named(trueType(tables));
  EXPECT_EQ(named.encoding()[0x41], "Hello");
}

TEST(TrueTypeReaderTest, MissingTablesAndUnknownCmapFormat) {
  ErrorLog log;
  std::string cmap = be16(0) + be16(1) + be16(3) + be16(1) + be32(12) + be16(12) + be16(0);
  CPDFTrueTypeFontReader reader(trueType({{"cmap", cmap}}));
  EXPECT_EQ(log.count("TrueType font file is missing a required table"), 1u);
  EXPECT_EQ(reader.glyphCount(), 0u);
  EXPECT_EQ(reader.encoding()[0x41], ".notdef");
  EXPECT_EQ(log.count("Unimplemented cmap format (12) in TrueType font file"), 1u);
}

// A CFF program: header, Name INDEX, Top DICT INDEX, String INDEX, CharStrings INDEX of
// `glyphs` glyphs, then charset and encoding data placed by the Top DICT.
std::string cff(int glyphs, int charset, int encoding, const std::string& charsetData,
                const std::string& encodingData, const std::vector<std::string>& strings) {
  auto index = [](const std::vector<std::string>& items) {
    if (items.empty())
      return be16(0);
    std::string out = be16(static_cast<uint32_t>(items.size())) + "\x02";
    uint32_t off = 1;
    std::string data;
    out += be16(off);
    for (const auto& item : items) {
      off += static_cast<uint32_t>(item.size());
      out += be16(off);
      data += item;
    }
    return out + data;
  };
  auto num = [](int v) { return std::string("\x1d", 1) + be32(static_cast<uint32_t>(v)); };
  std::string header("\x01\x00\x04\x02", 4);
  std::string names = index({"CffTest"});
  std::string strIndex = index(strings);
  std::vector<std::string> charStrings(static_cast<size_t>(glyphs), std::string("\x0e", 1));
  std::string cs = index(charStrings);
  // The Top DICT has a fixed size, so the offsets can be worked out before it is written.
  size_t dictSize = 3 * 6;
  size_t topSize = 2 + 1 + 4 + dictSize;
  size_t base = header.size() + names.size() + topSize + strIndex.size();
  size_t charsetPos = base + cs.size();
  size_t encodingPos = charsetPos + charsetData.size();
  std::string dict = num(charset < 0 ? static_cast<int>(charsetPos) : charset) + "\x0f" +
                     num(encoding < 0 ? static_cast<int>(encodingPos) : encoding) + "\x10" +
                     num(static_cast<int>(base)) + "\x11";
  std::string top = index({dict});
  return header + names + top + strIndex + cs + charsetData + encodingData;
}

TEST(Type1CReaderTest, CharsetsAndEncodings) {
  auto standard = CPDFFontFileReader::readType1C(cff(3, 0, 0, "", "", {}));
  EXPECT_EQ(standard->fontName(), "CffTest");
  for (int code = 0; code < 256; ++code) {
    const char* name = standardEncoding()[code];
    EXPECT_EQ(standard->encoding()[code], name ? std::optional<std::string>(name) : std::nullopt);
  }

  auto expert = CPDFFontFileReader::readType1C(cff(3, 1, 1, "", "", {}));
  EXPECT_EQ(expert->encoding()[0x30], "zerooldstyle");
  EXPECT_EQ(expert->encoding()[0x61], "Asmall");

  // Custom charset (format 0): glyph 1 = SID 34 ("A"), glyph 2 = SID 391 (first string);
  // custom encoding format 0: code 0x41 -> glyph 1, code 0x61 -> glyph 2, with a supplement
  // code 0x20 -> SID 1 ("space").
  std::string charset = std::string("\x00", 1) + be16(34) + be16(391);
  std::string encoding = std::string("\x80\x02\x41\x61\x01\x20", 6) + be16(1);
  auto custom = CPDFFontFileReader::readType1C(cff(3, -1, -1, charset, encoding, {"mine"}));
  EXPECT_EQ(custom->encoding()[0x41], "A");
  EXPECT_EQ(custom->encoding()[0x61], "mine");
  EXPECT_EQ(custom->encoding()[0x20], "space");
  EXPECT_FALSE(custom->encoding()[0x42]);

  // Format 1 ranges: codes 0x30..0x31 -> glyphs 1, 2; charset format 1 range SID 17..18.
  charset = std::string("\x01", 1) + be16(17) + "\x01";
  encoding = std::string("\x01\x01\x30\x01", 4);
  auto ranges = CPDFFontFileReader::readType1C(cff(3, -1, -1, charset, encoding, {}));
  EXPECT_EQ(ranges->encoding()[0x30], "zero");
  EXPECT_EQ(ranges->encoding()[0x31], "one");
}

TEST(FontFileReaderTest, TruncatedAndHostileProgramsAreSafe) {
  std::vector<std::string> programs = {
      cff(3, -1, -1, std::string("\x00", 1) + be16(34) + be16(391),
          std::string("\x80\x02\x41\x61\x01\x20", 6) + be16(1), {"mine"}),
      trueType([] {
        auto t = requiredTables();
        t.push_back({"cmap", cmapFormat4(3, 0, 0xF000, 0xF0FF, 5)});
        return t;
      }()),
      "/FontName /X def\n/Encoding 256 array\ndup 300 /A put\ndup -1 /B put\ndup 9",
  };
  for (const std::string& full : programs) {
    for (size_t n = 0; n <= full.size(); ++n) {
      std::string cut = full.substr(0, n);
      CPDFFontFileReader::readType1(cut)->encoding();
      CPDFFontFileReader::readType1C(cut)->encoding();
      CPDFFontFileReader::readTrueType(cut)->encoding();
      // The same bytes with every byte in turn set to 0xff, a common bad offset.
      if (n < full.size()) {
        std::string bad = full;
        bad[n] = '\xff';
        CPDFFontFileReader::readType1C(bad)->encoding();
        CPDFFontFileReader::readTrueType(bad)->encoding();
      }
    }
  }
}

}  // namespace
}  // namespace qv
