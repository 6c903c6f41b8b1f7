// The filters on the real streams of the PDF corpus, against two references: Python's zlib
// for lone Flate streams and qpdf's decoding for every chain it can decode. A script
// extracts the streams with qpdf into a scratch folder when the suite starts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "FilterTestUtil.h"
#include "pdf/core/FileRangeStream.h"
#include "pdf/filters/FilterFactory.h"
#include "tests/support/TestPaths.h"

namespace qv::test {
namespace {

struct CorpusStream {
  std::string id;
  std::string where;  // file and object, for messages
  std::vector<std::string> filters;
  std::vector<std::string> params;  // per stage: Key=Value;Key=Value
};

class CorpusStreams : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::system("command -v qpdf > /dev/null 2>&1") != 0) {
      return;
    }
    scratch_ = new ScratchDir("qv-filter-corpus");
    std::string command = "python3 '" +
                          (fixturesDir() / "pdf" / "filters" / "corpus_streams.py").string() +
                          "' '" + corpusDir().string() + "' '" + scratch_->path().string() + "'";
    if (std::system(command.c_str()) != 0) {
      return;
    }
    std::ifstream index(scratch_->path() / "index.tsv");
    std::string line;
    while (std::getline(index, line)) {
      std::vector<std::string> cols;
      std::stringstream ss(line);
      std::string col;
      while (std::getline(ss, col, '\t')) {
        cols.push_back(col);
      }
      while (cols.size() < 5) {
        cols.push_back("");
      }
      CorpusStream s{cols[0], cols[1] + " " + cols[2], split(cols[3], ','), split(cols[4], '|')};
      streams_.push_back(s);
    }
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  static std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, sep)) {
      out.push_back(part);
    }
    return out;
  }

  static std::optional<std::string> oracle(const CorpusStream& s, const char* ext) {
    auto path = scratch_->path() / (s.id + ext);
    if (!std::filesystem::exists(path)) {
      return std::nullopt;
    }
    return readFile(path);
  }

  // Our chain over the raw bytes, built from the stream's Filter and DecodeParms.
  static std::string decode(const CorpusStream& s) {
    CPDFObject filters = CPDFObject::makeArray(nullptr);
    CPDFObject params = CPDFObject::makeArray(nullptr);
    for (size_t i = 0; i < s.filters.size(); ++i) {
      filters.getArray()->add(CPDFObject::makeName(s.filters[i]));
      CPDFObject stage = CPDFObject::makeDict(nullptr);
      if (i < s.params.size()) {
        for (const std::string& pair : split(s.params[i], ';')) {
          size_t eq = pair.find('=');
          stage.getDict()->add(pair.substr(0, eq),
                               CPDFObject::makeInt(std::atoi(pair.c_str() + eq + 1)));
        }
      }
      params.getArray()->add(std::move(stage));
    }
    CPDFObject dict = CPDFObject::makeDict(nullptr);
    dict.getDict()->add("Filter", std::move(filters));
    dict.getDict()->add("DecodeParms", std::move(params));
    FilterFactory factory;
    auto stream = factory.makeFilterChain(makeMemoryStream(*oracle(s, ".raw")), *dict.getDict());
    stream->reset();
    std::string out = stream->readAll(size_t{1} << 30);
    stream->close();
    return out;
  }

  static ScratchDir* scratch_;
  static std::vector<CorpusStream> streams_;
};

ScratchDir* CorpusStreams::scratch_ = nullptr;
std::vector<CorpusStream> CorpusStreams::streams_;

TEST_F(CorpusStreams, MatchReferenceDecoders) {
  if (streams_.empty()) {
    GTEST_SKIP() << "qpdf or the corpus is not available";
  }
  int zlibChecked = 0;
  int qpdfChecked = 0;
  for (const CorpusStream& s : streams_) {
    std::string ours = decode(s);
    if (auto z = oracle(s, ".zlib")) {
      ++zlibChecked;
      EXPECT_TRUE(ours == *z) << s.where << ": " << ours.size() << " bytes, zlib " << z->size();
    }
    if (auto q = oracle(s, ".qpdf")) {
      ++qpdfChecked;
      EXPECT_TRUE(ours == *q) << s.where << ": " << ours.size() << " bytes, qpdf " << q->size();
    }
  }
  // The corpus holds over a thousand Flate streams; both references must have been used.
  EXPECT_GT(zlibChecked, 1000);
  EXPECT_GT(qpdfChecked, 1000);
}

}  // namespace
}  // namespace qv::test
