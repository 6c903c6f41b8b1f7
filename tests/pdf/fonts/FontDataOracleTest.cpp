// The glyph-name tables of the font code compared with independent libraries: fontTools'
// CFF standard strings, predefined charsets and Macintosh glyph order, FreeType's CFF Expert
// encoding, and the Unicode values that pypdf, pdfminer and MuPDF give for the codes of the
// simple-font encodings (our names are compared through the Adobe glyph list).

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "OracleCache.h"
#include "pdf/fonts/data/FontEncodings.h"
#include "pdf/fonts/fontfile/CPDFFontFileReader.h"
#include "pdf/fonts/fontfile/CffStandardData.h"
#include "pdf/fonts/fontfile/MacGlyphNames.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using Table = std::map<std::string, std::map<std::string, std::string>>;

const Table& oracle() {
  static const Table table = [] {
    Table out;
    const auto rows = test::cachedOracleRows(
        test::sourceDir() / "tests/pdf/fonts/font_tables_oracle.py", "", "font_tables_oracle.tsv");
    for (const auto& row : rows) {
      if (row.size() == 3) {
        out[row[0]][row[1]] = row[2];
      }
    }
    return out;
  }();
  return table;
}

const std::map<std::string, std::string>& oracleTable(const std::string& name) {
  static const std::map<std::string, std::string> kEmpty;
  auto it = oracle().find(name);
  return it == oracle().end() ? kEmpty : it->second;
}

std::string nameOrNone(const char* name) {
  return name ? name : "(none)";
}

std::string cffName(uint16_t sid) {
  return sid < kCffStandardStringCount ? cffStandardStrings()[sid]
                                       : "(SID " + std::to_string(sid) + ")";
}

// Compares a list of names by index with an oracle table and lists every difference.
void expectNames(const std::string& table, const std::vector<std::string>& ours) {
  const auto& theirs = oracleTable(table);
  ASSERT_FALSE(theirs.empty()) << "oracle gave no " << table;
  EXPECT_EQ(ours.size(), theirs.size()) << table;
  for (size_t i = 0; i < ours.size(); ++i) {
    auto it = theirs.find(std::to_string(i));
    const std::string expected = it == theirs.end() ? "(none)" : it->second;
    EXPECT_EQ(ours[i], expected) << table << " entry " << i;
  }
}

TEST(FontDataOracleTest, CffStandardStrings) {
  std::vector<std::string> ours;
  for (const char* name : cffStandardStrings()) {
    ours.push_back(nameOrNone(name));
  }
  expectNames("cff_string", ours);
}

TEST(FontDataOracleTest, CffPredefinedCharsets) {
  std::vector<std::string> isoAdobe;
  for (uint16_t sid = 0; sid < kCffIsoAdobeGlyphCount; ++sid) {
    isoAdobe.push_back(cffName(sid));
  }
  expectNames("cff_isoadobe", isoAdobe);
  for (const auto& [table, sids] : {std::pair{"cff_expert", cffExpertCharset()},
                                    std::pair{"cff_expertsub", cffExpertSubsetCharset()}}) {
    std::vector<std::string> names;
    for (uint16_t sid : sids) {
      names.push_back(cffName(sid));
    }
    expectNames(table, names);
  }
}

// Entries where an oracle departs from the published tables, each with the reason; the
// entry is then not compared.
struct OracleException {
  const char* table;
  int code;
  const char* reason;
};
constexpr OracleException kOracleExceptions[] = {
    {"cff_expert_enc", 175,
     "FreeType's predefined Expert encoding repeats Dotaccentsmall (SID 312) at 175; "
     "Technical Note 5176, Appendix B, and the Type 1 ExpertEncoding have Macronsmall "
     "(SID 313) there"},
    {"enc_winansi", 173,
     "pdfminer gives a space; the PDF standard's WinAnsiEncoding table lists hyphen at 0255 "
     "(the soft hyphen shown as a hyphen), as Windows code page 1252 has U+00AD there"},
};

bool isException(const std::string& table, int code) {
  for (const OracleException& e : kOracleExceptions) {
    if (table == e.table && code == e.code) {
      return true;
    }
  }
  return false;
}

TEST(FontDataOracleTest, CffExpertEncoding) {
  const auto& theirs = oracleTable("cff_expert_enc");
  ASSERT_FALSE(theirs.empty()) << "oracle gave no Expert encoding";
  for (int code = 0; code < 256; ++code) {
    if (isException("cff_expert_enc", code)) {
      continue;
    }
    const uint16_t sid = cffExpertEncoding()[code];
    auto it = theirs.find(std::to_string(code));
    EXPECT_EQ(sid == 0 ? "(none)" : cffName(sid), it == theirs.end() ? "(none)" : it->second)
        << "code " << code;
  }
}

TEST(FontDataOracleTest, MacintoshGlyphOrder) {
  std::vector<std::string> ours;
  for (const char* name : macGlyphNames()) {
    ours.push_back(nameOrNone(name));
  }
  expectNames("mac_glyph", ours);
}

// The simple-font encodings hold glyph names; the oracles give each code's Unicode value.
// A name is compared through the Adobe glyph list; "-" is a code without a glyph.
TEST(FontDataOracleTest, SimpleFontEncodingsByUnicode) {
  struct Case {
    const char* table;
    const FontEncodingTable& ours;
    int firstCode;
    // MuPDF shows a code without a glyph through StandardEncoding, or as the code itself,
    // so that reading cannot tell a missing name from one that happens to match.
    bool undefinedFallsBack;
  };
  const Case cases[] = {
      {"enc_pdfdoc", pdfDocEncoding(), 0x18, false},
      {"enc_standard", standardEncoding(), 0, false},
      {"enc_macroman", macRomanEncoding(), 0, false},
      {"enc_winansi", winAnsiEncoding(), 0, false},
      {"enc_macexpert", macExpertEncoding(), 32, true},
  };
  const auto& glyphList = oracleTable("agl");
  ASSERT_FALSE(glyphList.empty());
  for (const Case& c : cases) {
    const auto& theirs = oracleTable(c.table);
    ASSERT_FALSE(theirs.empty()) << "oracle gave no " << c.table;
    for (int code = c.firstCode; code < 256; ++code) {
      auto it = theirs.find(std::to_string(code));
      if (it == theirs.end() || it->second == "?" || isException(c.table, code)) {
        continue;
      }
      const char* name = c.ours[code];
      char codeHex[8];
      std::snprintf(codeHex, sizeof codeHex, "%04X", code);
      if (!name) {
        if (c.undefinedFallsBack) {
          const char* standard = standardEncoding()[code];
          auto fallback = standard ? glyphList.find(standard) : glyphList.end();
          if (it->second == codeHex || it->second == "FFFD" ||
              (fallback != glyphList.end() && fallback->second == it->second)) {
            continue;
          }
        }
        EXPECT_EQ(it->second, "-") << c.table << " code " << code << " has no name here";
        continue;
      }
      auto unicode = glyphList.find(name);
      if (unicode == glyphList.end()) {
        ADD_FAILURE() << c.table << " code " << code << ": " << name << " is not in the glyph list";
        continue;
      }
      EXPECT_EQ(unicode->second, it->second) << c.table << " code " << code << ": " << name;
    }
  }
}

// Installed TrueType fonts read by the TrueType reader: each code's glyph name (cmap, then the
// post table's names and the Macintosh order) equals fontTools' view of the same font.
TEST(FontDataOracleTest, InstalledTrueTypeFontsGiveFontToolsGlyphNames) {
  int fonts = 0;
  for (const auto& [table, theirs] : oracle()) {
    if (table.rfind("ttf:", 0) != 0) {
      continue;
    }
    ++fonts;
    const std::string bytes = test::readFile(table.substr(4));
    auto reader = CPDFFontFileReader::readTrueType(bytes);
    ASSERT_NE(reader, nullptr);
    const GlyphNameTable& ours = reader->encoding();
    for (int code = 0; code < 256; ++code) {
      auto it = theirs.find(std::to_string(code));
      ASSERT_NE(it, theirs.end());
      EXPECT_EQ(ours[code].value_or("(none)"), it->second) << table << " code " << code;
    }
  }
  EXPECT_GT(fonts, 0) << "no installed TrueType font to compare";
}

}  // namespace
}  // namespace qv
