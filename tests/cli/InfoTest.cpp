// Runs the built quorvane-cli --info on the PDF corpus and compares the page count, the
// first page's size and the permissions with what qpdf and pypdf report for the same files;
// checks passwords, exit statuses and the engine messages of --verbose.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return out + "'";
}

RunResult run(const test::ScratchDir& scratch, const std::string& command) {
  const std::string full = command + " >" + quote((scratch / "out.txt").string()) + " 2>" +
                           quote((scratch / "err.txt").string()) + " </dev/null";
  const int raw = std::system(full.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = test::readFile(scratch / "out.txt");
  result.err = test::readFile(scratch / "err.txt");
  return result;
}

std::string cli() {
  return quote((test::binDir() / "quorvane-cli").string());
}

fs::path corpus() {
  return fs::absolute(test::corpusDir()).lexically_normal();
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out;
  std::stringstream in(text);
  std::string field;
  while (std::getline(in, field, separator)) {
    out.push_back(field);
  }
  if (!text.empty() && text.back() == separator) {
    out.emplace_back();
  }
  return out;
}

// One printed summary: the value after "Label: " of each line, by label.
using Summary = std::map<std::string, std::string>;

// The summaries of an --info run by the file's path relative to the corpus.
std::map<std::string, Summary> parseSummaries(const std::string& out) {
  std::map<std::string, Summary> summaries;
  const std::string prefix = corpus().string() + "/";
  Summary* current = nullptr;
  for (const std::string& line : split(out, '\n')) {
    if (line.rfind(prefix, 0) == 0) {
      current = &summaries[line.substr(prefix.size())];
      continue;
    }
    const size_t colon = line.find(": ");
    if (current != nullptr && !line.empty() && line[0] == '\t' && colon != std::string::npos) {
      (*current)[line.substr(1, colon - 1)] = line.substr(colon + 2);
    }
  }
  return summaries;
}

struct CorpusFile {
  std::string path;
  std::string encryption;
  std::string userPassword;
  std::string ownerPassword;
};

// The files with a classic cross-reference table.
std::vector<CorpusFile> tableFiles() {
  std::vector<CorpusFile> files;
  std::ifstream in(corpus() / "MANIFEST.tsv");
  std::string line;
  std::vector<std::string> header;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = split(line, '\t');
    if (header.empty()) {
      header = fields;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) {
      row[header[i]] = fields[i];
    }
    if (row["xref"] == "table") {
      files.push_back(
          {row["path"], row["encryption"], row["user_password"], row["owner_password"]});
    }
  }
  return files;
}

struct Oracle {
  int pages = -1;
  std::string width, height;
  std::string perms[5];  // print, modify other, assembly, extract, annotations
};

// Damaged files whose repair here differs from qpdf's, with the page count given here.
const std::map<std::string, int> kKnownPageCounts = {
    // A page tree node lists an ancestor again; the looping kid is skipped, while qpdf
    // turns it into a second page.
    {"damaged/pdfjs-Pages-tree-refs.pdf", 1},
};

std::string expectedSize(const Oracle& o) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.0f x %.0f Pixel", std::atof(o.width.c_str()) * 4 / 3,
                std::atof(o.height.c_str()) * 4 / 3);
  return buf;
}

std::string allowed(const std::string& flag) {
  return flag == "1" ? "Allowed" : "Not Allowed";
}

TEST(InfoCorpus, MatchesTheReferenceTools) {
  test::ScratchDir scratch("qv-info");
  // Unencrypted files in one run; RC4 files each with the password that opens it: the
  // user password where it is known (the permission bits then apply), else the owner's.
  std::vector<std::pair<CorpusFile, std::string>> plain;
  std::vector<std::pair<CorpusFile, std::string>> encrypted;
  for (const CorpusFile& f : tableFiles()) {
    if (f.encryption == "none") {
      plain.emplace_back(f, "");
    } else if (f.encryption == "RC4-40(R2)" || f.encryption == "RC4-128(R3)") {
      if (f.userPassword != "?") {
        encrypted.emplace_back(f, "--user-password " + quote(f.userPassword));
      } else if (f.ownerPassword != "?" && !f.ownerPassword.empty()) {
        encrypted.emplace_back(f, "--owner-password " + quote(f.ownerPassword));
      }
    }
  }
  ASSERT_FALSE(plain.empty());
  ASSERT_FALSE(encrypted.empty());

  std::string oracleArgs;
  std::string plainArgs;
  for (const auto& [f, args] : plain) {
    oracleArgs += " " + quote(f.path + "\t");
    plainArgs += " " + quote((corpus() / f.path).string());
  }
  for (const auto& [f, args] : encrypted) {
    const bool user = args.rfind("--user", 0) == 0;
    oracleArgs += " " + quote(f.path + "\t" + (user ? f.userPassword : f.ownerPassword));
  }
  const RunResult oracleRun =
      run(scratch, "/usr/bin/python3 " +
                       quote((test::sourceDir() / "tests/cli/info_oracle.py").string()) + " " +
                       quote(corpus().string()) + oracleArgs);
  ASSERT_EQ(oracleRun.status, 0) << oracleRun.err;
  std::map<std::string, Oracle> oracle;
  for (const std::string& line : split(oracleRun.out, '\n')) {
    const std::vector<std::string> f = split(line, '\t');
    if (f.size() == 9) {
      Oracle& o = oracle[f[0]];
      o.pages = std::atoi(f[1].c_str());
      o.width = f[2];
      o.height = f[3];
      for (int i = 0; i < 5; ++i) {
        o.perms[i] = f[4 + i];
      }
    }
  }

  std::map<std::string, Summary> summaries =
      parseSummaries(run(scratch, cli() + " --info" + plainArgs).out);
  for (const auto& [f, args] : encrypted) {
    for (auto& entry : parseSummaries(
             run(scratch, cli() + " --info " + args + " " + quote((corpus() / f.path).string()))
                 .out)) {
      summaries.insert(std::move(entry));
    }
  }

  int compared = 0;
  for (const auto& group : {plain, encrypted}) {
    for (const auto& [f, args] : group) {
      SCOPED_TRACE(f.path);
      const auto o = oracle.find(f.path);
      ASSERT_NE(o, oracle.end());
      if (o->second.pages <= 0) {
        continue;  // qpdf cannot read it either
      }
      const auto s = summaries.find(f.path);
      ASSERT_NE(s, summaries.end()) << "no summary printed";
      const Summary& summary = s->second;
      const auto known = kKnownPageCounts.find(f.path);
      const int pages = known != kKnownPageCounts.end() ? known->second : o->second.pages;
      EXPECT_EQ(summary.at("Number of Pages"), std::to_string(pages));
      if (o->second.width != "-") {
        EXPECT_EQ(summary.at("Page Size"), expectedSize(o->second));
      }
      if (f.encryption == "none") {
        continue;
      }
      if (args.rfind("--owner", 0) == 0) {
        // The owner password allows everything.
        for (const char* label :
             {"Printing", "Document Assembly", "Content Copying or Extraction", "Commenting"}) {
          EXPECT_EQ(summary.at(label), "Allowed") << label;
        }
      } else {
        EXPECT_EQ(summary.at("Printing"), allowed(o->second.perms[0]));
        EXPECT_EQ(summary.at("Document Assembly"), allowed(o->second.perms[2]));
        EXPECT_EQ(summary.at("Content Copying or Extraction"), allowed(o->second.perms[3]));
        EXPECT_EQ(summary.at("Commenting"), allowed(o->second.perms[4]));
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

TEST(Info, PasswordsStatusesAndEngineMessages) {
  test::ScratchDir scratch("qv-info");
  const std::string r3 =
      quote((corpus() / "encrypted/qpdf-enc-R3-V2-U_view-O_master.pdf").string());
  const std::string damaged = quote((corpus() / "damaged/qpdf-bad4.pdf").string());
  const std::string good = quote((corpus() / "xref/qpdf-minimal.pdf").string());
  const char* const kRebuild = "Error (0): PDF file is damaged - attempting to reconstruct";
  struct Case {
    std::string args;
    int status;
    const char* outContains;  // "" for an empty standard output
    const char* errContains;  // "" for an empty standard error
  };
  const Case cases[] = {
      {"--info --user-password wrong " + r3, 1, "", "Not a valid pdf file!"},
      {"--info " + r3, 1, "", "Not a valid pdf file!"},
      {"--info --verbose --user-password wrong " + r3, 1, "", "Error: "},
      {"--info --user-password view " + r3, 0, "\tPrinting: Not Allowed\n", ""},
      {"--info --owner-password master " + r3, 0, "\tDocument Assembly: Allowed\n", ""},
      {"--info " + damaged, 0, "\tNumber of Pages: 1\n", ""},
      {"--info --verbose " + damaged, 0, "\tNumber of Pages: 1\n", kRebuild},
      {"--info --verbose " + good, 0, "\tCommenting: Allowed\n", ""},
      {"--info " + r3 + " " + good, 1, "qpdf-minimal.pdf\nSummary:\n", "Not a valid pdf file!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const RunResult r = run(scratch, cli() + " " + c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (*c.outContains == '\0') {
      EXPECT_EQ(r.out, "");
    } else {
      EXPECT_NE(r.out.find(c.outContains), std::string::npos) << r.out;
    }
    if (*c.errContains == '\0') {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
    }
  }
}

}  // namespace
}  // namespace qv
