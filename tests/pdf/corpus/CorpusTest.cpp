// Every file of the PDF corpus, opened by the engine and compared with what the reference
// tools (qpdf, pypdf) report: page counts, first-page sizes, encryption and permissions. No
// file may crash or hang the engine.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/document/CPDFDocument.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) {
    out.push_back(field);
  }
  if (!line.empty() && line.back() == '\t') {
    out.emplace_back();
  }
  return out;
}

struct CorpusFile {
  std::string path;
  std::string xref;
  std::string encryption;
  std::string userPassword;
  std::string ownerPassword;
};

void PrintTo(const CorpusFile& file, std::ostream* out) {
  *out << file.path;
}

// Damaged files where this engine's repair differs from qpdf's, with the count it gives.
const std::map<std::string, int> kKnownPageCounts = {
    // Node 5 lists node 3 again, a loop: the looping kid is skipped and one page remains,
    // while qpdf's repair turns the looping node into a second page.
    {"damaged/pdfjs-Pages-tree-refs.pdf", 1},
};

std::vector<CorpusFile> readManifest() {
  std::vector<CorpusFile> files;
  std::ifstream in(test::corpusDir() / "MANIFEST.tsv");
  std::string line;
  std::vector<std::string> header;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = splitTabs(line);
    if (header.empty()) {
      header = fields;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) {
      row[header[i]] = fields[i];
    }
    files.push_back(
        {row["path"], row["xref"], row["encryption"], row["user_password"], row["owner_password"]});
  }
  return files;
}

struct OracleRow {
  int pages = -1;
  std::string width, height;
  std::string p;
  std::string perms[4];  // print, modify, copy, annotate: "1", "0" or "-"
};

// The reference answers, computed once by corpus_oracle.py and kept beside the build.
const std::map<std::string, OracleRow>& oracle() {
  static const std::map<std::string, OracleRow> rows = [] {
    const fs::path script = test::sourceDir() / "tests/pdf/corpus/corpus_oracle.py";
    const fs::path manifest = test::corpusDir() / "MANIFEST.tsv";
    const fs::path cache = fs::current_path() / "corpus_oracle.tsv";
    std::error_code ec;
    if (!fs::exists(cache) || fs::last_write_time(cache, ec) < fs::last_write_time(manifest, ec) ||
        fs::last_write_time(cache, ec) < fs::last_write_time(script, ec)) {
      const fs::path temp = cache.string() + "." + std::to_string(::getpid());
      const std::string command = "/usr/bin/python3 " + script.string() + " " +
                                  test::corpusDir().string() + " > " + temp.string();
      if (std::system(command.c_str()) == 0) {
        fs::rename(temp, cache, ec);
      }
    }
    std::map<std::string, OracleRow> out;
    std::ifstream in(cache);
    std::string line;
    while (std::getline(in, line)) {
      const std::vector<std::string> f = splitTabs(line);
      if (f.size() < 9) {
        continue;
      }
      OracleRow row;
      row.pages = std::atoi(f[1].c_str());
      row.width = f[2];
      row.height = f[3];
      row.p = f[4];
      for (int i = 0; i < 4; ++i) {
        row.perms[i] = f[5 + i];
      }
      out[f[0]] = row;
    }
    return out;
  }();
  return rows;
}

std::optional<std::string> known(const std::string& password) {
  if (password == "?") {
    return std::nullopt;
  }
  return password;
}

bool isRc4(const CorpusFile& f) {
  return f.encryption == "RC4-40(R2)" || f.encryption == "RC4-128(R3)";
}

// Opens and walks every page: boxes, resources, contents and annotations resolved.
void walkPages(CPDFDocument& doc) {
  CPDFCatalog* catalog = doc.getCatalog();
  ASSERT_NE(catalog, nullptr);
  for (int32_t n = 1; n <= catalog->getNumPages(); ++n) {
    CPDFPage* page = catalog->getPage(n);
    ASSERT_NE(page, nullptr);
    EXPECT_GE(page->rotate(), 0);
    EXPECT_LT(page->rotate(), 360);
    (void)page->effectiveBox();
    (void)page->contents();
    (void)page->annots();
  }
}

class Corpus : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(Corpus, OpensLikeTheReferenceTools) {
  const CorpusFile& f = GetParam();
  const std::string path = (test::corpusDir() / f.path).string();
  const bool encrypted = f.encryption != "none";
  std::optional<std::string> owner = encrypted ? known(f.ownerPassword) : std::nullopt;
  std::optional<std::string> user = encrypted ? known(f.userPassword) : std::nullopt;
  if (owner && owner->empty()) {
    owner.reset();
  }
  CPDFDocument doc(path, owner, user);

  if (encrypted && !isRc4(f)) {
    // AES and the crypt-filter revisions are not read yet: such files fail cleanly.
    EXPECT_FALSE(doc.ok());
    return;
  }
  const auto it = oracle().find(f.path);
  const bool compare = f.xref == "table" && it != oracle().end() && it->second.pages > 0;
  if (compare) {
    ASSERT_TRUE(doc.ok());
    const auto knownCount = kKnownPageCounts.find(f.path);
    EXPECT_EQ(doc.getNumPages(),
              knownCount != kKnownPageCounts.end() ? knownCount->second : it->second.pages);
    if (it->second.width != "-" && doc.getNumPages() > 0) {
      const PDFRectangle& box = doc.getCatalog()->getPage(1)->mediaBox();
      EXPECT_NEAR(std::fabs(box.width()), std::atof(it->second.width.c_str()), 0.01);
      EXPECT_NEAR(std::fabs(box.height()), std::atof(it->second.height.c_str()), 0.01);
    }
  }
  if (doc.ok()) {
    walkPages(doc);
  }
  if (!encrypted || !doc.ok() || it == oracle().end()) {
    return;
  }
  // Permissions as the file grants them, whatever the password.
  EXPECT_EQ(std::to_string(doc.getXRef()->getPermissions()), it->second.p);
  const bool answers[4] = {doc.canPrint(true), doc.canChange(true), doc.canCopy(true),
                           doc.canAnnotate(true)};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(answers[i] ? "1" : "0", it->second.perms[i]) << "permission " << i;
  }
  EXPECT_EQ(doc.getXRef()->ownerPasswordOk(), owner.has_value());
}

class Rc4Corpus : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(Rc4Corpus, PasswordsAreChecked) {
  const CorpusFile& f = GetParam();
  const std::string path = (test::corpusDir() / f.path).string();
  if (f.userPassword != "?" && !f.userPassword.empty()) {
    CPDFDocument withUser(path, std::nullopt, f.userPassword);
    EXPECT_TRUE(withUser.ok());
    EXPECT_EQ(withUser.getXRef()->ownerPasswordOk(), f.userPassword == f.ownerPassword);
    CPDFDocument wrong(path, std::nullopt, std::string("not the password"));
    EXPECT_FALSE(wrong.ok());
    CPDFDocument none(path, std::nullopt, std::nullopt);
    EXPECT_FALSE(none.ok());
  }
  if (f.ownerPassword != "?" && !f.ownerPassword.empty()) {
    CPDFDocument withOwner(path, f.ownerPassword, std::nullopt);
    ASSERT_TRUE(withOwner.ok());
    EXPECT_TRUE(withOwner.getXRef()->ownerPasswordOk());
    EXPECT_TRUE(withOwner.canPrint() && withOwner.canChange() && withOwner.canCopy() &&
                withOwner.canAnnotate());
  }
}

std::string testName(const ::testing::TestParamInfo<CorpusFile>& info) {
  std::string name = info.param.path;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) {
      c = '_';
    }
  }
  return name;
}

std::vector<CorpusFile> rc4Files() {
  std::vector<CorpusFile> files = readManifest();
  std::erase_if(files, [](const CorpusFile& f) { return !isRc4(f); });
  return files;
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(readManifest()), testName);
INSTANTIATE_TEST_SUITE_P(Files, Rc4Corpus, ::testing::ValuesIn(rc4Files()), testName);

}  // namespace
}  // namespace qv
