// The fonts of every page of the PDF corpus, built by the font code from the page's Font
// resources, compared with what PyMuPDF reports for them: resource name, font name, kind and
// whether a font program is embedded. Files the engine cannot open are left out.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "OracleCache.h"
#include "pdf/config/CPDFConfig.h"
#include "pdf/document/CPDFDocument.h"
#include "pdf/fonts/CPDFFontDict.h"
#include "pdf/fonts/data/StandardFonts.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// PyMuPDF's font dictionary Subtype and embedded program extension, mapped to the kinds this
// font code may give the font and whether it keeps an embedded program. A Type 1 font with a
// FontFile3/Type1C program becomes Type1C here; a Type 0 font takes the kind of its
// descendant, which PyMuPDF shows only through the program's extension.
struct KindRule {
  const char* subtype;
  const char* ext;  // "n/a": no program; "*": any other extension
  std::set<CPDFFontKind> kinds;
  bool embedded;
};
const std::vector<KindRule>& kindRules() {
  using K = CPDFFontKind;
  static const std::vector<KindRule> rules = {
      {"Type1", "n/a", {K::kType1}, false},
      {"Type1", "cff", {K::kType1C}, true},
      {"Type1", "*", {K::kType1}, true},
      {"MMType1", "n/a", {K::kType1}, false},
      {"MMType1", "cff", {K::kType1C}, true},
      {"MMType1", "*", {K::kType1}, true},
      {"TrueType", "n/a", {K::kTrueType}, false},
      {"TrueType", "*", {K::kTrueType}, true},
      {"Type3", "*", {K::kType3}, false},
      {"Type0", "n/a", {K::kCIDType0, K::kCIDType2}, false},
      {"Type0", "ttf", {K::kCIDType2}, true},
      {"Type0", "cff", {K::kCIDType0C}, true},
      {"Type0", "cid", {K::kCIDType0C}, true},
      // An OpenType wrapper (FontFile3/OpenType) and a Type 1 program under a CIDFontType0
      // (FontFile) are programs this code never reads: the font is built without one.
      {"Type0", "otf", {K::kCIDType0, K::kCIDType2}, false},
      {"Type0", "pfa", {K::kCIDType0}, false},
  };
  return rules;
}

const KindRule* findRule(const std::string& subtype, const std::string& ext) {
  const KindRule* fallback = nullptr;
  for (const KindRule& rule : kindRules()) {
    if (subtype == rule.subtype && ext == rule.ext) {
      return &rule;
    }
    if (subtype == rule.subtype && std::string(rule.ext) == "*") {
      fallback = &rule;
    }
  }
  return fallback;
}

// Fonts where this code and PyMuPDF differ for a reason, by file and resource name ("*": the
// whole file).
struct FontException {
  const char* path;
  const char* tag;
  const char* reason;
};
constexpr FontException kFontExceptions[] = {
    {"damaged/qpdf-append-xref-loop.pdf", "*",
     "PyMuPDF opens the looping /Prev chain with no pages; the engine rebuilds the table and "
     "finds the 30 pages qpdf also finds"},
    {"fonts/pdfjs-bug921409.pdf", "F1",
     "the CIDFontType0 descendant has a FontFile3 of Subtype Type1C; only CIDFontType0C suits a "
     "CIDFontType0 font here, so the program is not used (PyMuPDF takes it)"},
    {"fonts/pdfjs-issue11768_reduced.pdf", "F1",
     "the Type 0 font's Encoding is an embedded CMap stream; CMaps are taken by name only, so "
     "the font is not built"},
};

bool isException(const std::string& path, const std::string& tag) {
  for (const FontException& e : kFontExceptions) {
    if (path == e.path && (tag == e.tag || std::string(e.tag) == "*")) {
      return true;
    }
  }
  return false;
}

struct OracleFont {
  std::string tag, baseFont, subtype, ext;
};
struct OracleFile {
  bool error = false;
  std::map<int, std::vector<OracleFont>> pages;
};

const std::map<std::string, OracleFile>& oracle() {
  static const std::map<std::string, OracleFile> files = [] {
    std::map<std::string, OracleFile> out;
    const auto rows = test::cachedOracleRows(
        test::sourceDir() / "tests/pdf/fonts/corpus_fonts_oracle.py", test::corpusDir().string(),
        "corpus_fonts_oracle.tsv", {test::corpusDir() / "MANIFEST.tsv"});
    for (const auto& row : rows) {
      if (row.size() == 2) {
        out[row[0]].error = row[1] == "ERROR";
      } else if (row.size() == 6) {
        out[row[0]].pages[std::stoi(row[1])].push_back({row[2], row[3], row[4], row[5]});
      }
    }
    return out;
  }();
  return files;
}

struct ManifestRow {
  std::string path, userPassword, ownerPassword;
};

std::vector<ManifestRow> manifest() {
  std::vector<ManifestRow> out;
  const auto rows = [] {
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(test::corpusDir() / "MANIFEST.tsv");
    std::string line;
    while (std::getline(in, line)) {
      std::vector<std::string> fields;
      std::stringstream split(line);
      std::string field;
      while (std::getline(split, field, '\t')) {
        fields.push_back(field);
      }
      lines.push_back(fields);
    }
    return lines;
  }();
  if (rows.empty()) {
    return out;
  }
  auto column = [&](const char* name) {
    for (size_t i = 0; i < rows[0].size(); ++i) {
      if (rows[0][i] == name) {
        return i;
      }
    }
    return rows[0].size();
  };
  const size_t path = column("path"), user = column("user_password"),
               owner = column("owner_password");
  for (size_t r = 1; r < rows.size(); ++r) {
    auto get = [&](size_t i) { return i < rows[r].size() ? rows[r][i] : std::string(); };
    out.push_back({get(path), get(user), get(owner)});
  }
  return out;
}

void PrintTo(const ManifestRow& row, std::ostream* out) {
  *out << row.path;
}

std::optional<std::string> password(const std::string& value) {
  if (value.empty() || value == "?") {
    return std::nullopt;
  }
  return value;
}

class CorpusFontsTest : public ::testing::TestWithParam<ManifestRow> {};

TEST_P(CorpusFontsTest, FontsMatchPyMuPDF) {
  const ManifestRow& row = GetParam();
  auto file = oracle().find(row.path);
  ASSERT_NE(file, oracle().end()) << "no oracle answer";
  if (file->second.error) {
    GTEST_SKIP() << "PyMuPDF cannot open the file";
  }
  if (isException(row.path, "*")) {
    GTEST_SKIP() << "listed exception";
  }
  CPDFDocument doc((test::corpusDir() / row.path).string(), password(row.ownerPassword),
                   password(row.userPassword));
  if (!doc.ok()) {
    GTEST_SKIP() << "the engine does not open the file";
  }
  CPDFConfig config("config.lst", CPDFConfigLocations{test::binDir(), test::binDir(),
                                                      fs::temp_directory_path(), std::nullopt});
  CPDFFontContext context;
  context.xref = doc.getXRef();
  context.config = &config;
  for (int32_t n = 1; n <= doc.getNumPages(); ++n) {
    CPDFPage* page = doc.getCatalog()->getPage(n);
    ASSERT_NE(page, nullptr);
    CPDFObject resources = page->resources().resolve(doc.getXRef());
    RefPtr<CPDFDict> fontResources =
        resources.isDict() ? resources.getDict()->lookupDict("Font") : RefPtr<CPDFDict>();
    std::unique_ptr<CPDFFontDict> fonts;
    if (fontResources) {
      fonts = std::make_unique<CPDFFontDict>(context, *fontResources);
    }
    auto expected = file->second.pages.find(n);
    const size_t expectedCount = expected == file->second.pages.end() ? 0 : expected->second.size();
    int built = 0;
    for (int i = 0; fonts && i < fonts->count(); ++i) {
      built += fonts->at(i) != nullptr;
    }
    EXPECT_LE(static_cast<size_t>(built), expectedCount) << "page " << n;
    if (expected == file->second.pages.end()) {
      continue;
    }
    for (const OracleFont& want : expected->second) {
      if (isException(row.path, want.tag)) {
        continue;
      }
      SCOPED_TRACE("page " + std::to_string(n) + " font " + want.tag + " (" + want.baseFont + ", " +
                   want.subtype + ", " + want.ext + ")");
      CPDFFont* font = fonts ? fonts->lookup(want.tag) : nullptr;
      ASSERT_NE(font, nullptr) << "not built";
      std::string name = want.baseFont;
      if (!font->isCIDFont()) {
        if (auto alias = standardFontAlias(name)) {
          name = std::string(*alias);
        }
      }
      // Without a BaseFont PyMuPDF shows a Type 3 font's /Name entry; the name here stays none.
      if (!(font->kind() == CPDFFontKind::kType3 && !font->name())) {
        EXPECT_EQ(font->name().value_or(""), name);
      }
      const KindRule* rule = findRule(want.subtype, want.ext);
      ASSERT_NE(rule, nullptr) << "no kind rule";
      EXPECT_TRUE(rule->kinds.count(font->kind())) << "kind " << static_cast<int>(font->kind());
      EXPECT_EQ(font->hasEmbeddedFont(), rule->embedded);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFontsTest, ::testing::ValuesIn(manifest()),
                         [](const ::testing::TestParamInfo<ManifestRow>& info) {
                           std::string name;
                           for (char c : info.param.path) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace qv
