// Opening a 1,000-page document and walking its page tree: the table is read, the catalog
// builds every page with its inherited attributes, and each page's box and contents are
// read back.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pdf/core/CPDFFile.h"
#include "pdf/document/CPDFDocument.h"
#include "tests/support/PdfFixture.h"

namespace {

constexpr int kPages = 1000;
constexpr int kPagesPerNode = 50;

// Catalog 1, root node 2, 20 intermediate nodes of 50 pages each, one shared content stream.
std::string makeDocument() {
  const int nodes = kPages / kPagesPerNode;
  const int firstNode = 3;
  const int firstPage = firstNode + nodes;
  const int contents = firstPage + kPages;
  std::vector<std::string> bodies;
  bodies.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  std::string rootKids;
  for (int n = 0; n < nodes; ++n) {
    rootKids += std::to_string(firstNode + n) + " 0 R ";
  }
  bodies.push_back("<< /Type /Pages /Count " + std::to_string(kPages) + " /Kids [" + rootKids +
                   "] /MediaBox [0 0 612 792] /Resources << >> >>");
  for (int n = 0; n < nodes; ++n) {
    std::string kids;
    for (int p = 0; p < kPagesPerNode; ++p) {
      kids += std::to_string(firstPage + n * kPagesPerNode + p) + " 0 R ";
    }
    bodies.push_back("<< /Type /Pages /Parent 2 0 R /Count " + std::to_string(kPagesPerNode) +
                     " /Kids [" + kids + "] /Rotate 90 >>");
  }
  for (int p = 0; p < kPages; ++p) {
    const int parent = firstNode + p / kPagesPerNode;
    bodies.push_back("<< /Type /Page /Parent " + std::to_string(parent) + " 0 R /Contents " +
                     std::to_string(contents) + " 0 R /CropBox [10 10 600 780] >>");
  }
  bodies.push_back(qv::test::PdfFixture::stream("", "BT (x) Tj ET"));
  return qv::test::PdfFixture(bodies).build();
}

void openAndWalk(benchmark::State& state, bool damaged) {
  std::string bytes = makeDocument();
  if (damaged) {
    bytes[bytes.rfind("startxref") + 10] = '9';  // wrong offset: the table is rebuilt
  }
  for (auto _ : state) {
    qv::CPDFDocument doc(qv::CPDFFile::fromBytes(bytes), std::nullopt, std::nullopt);
    double area = 0;
    for (int n = 1; n <= doc.getNumPages(); ++n) {
      const qv::CPDFPage* page = doc.getCatalog()->getPage(n);
      area += page->effectiveBox().width() * page->effectiveBox().height();
      benchmark::DoNotOptimize(page->contentsRaw());
    }
    if (doc.getNumPages() != kPages) {
      state.SkipWithError("wrong page count");
    }
    benchmark::DoNotOptimize(area);
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_OpenAndWalkPageTree(benchmark::State& state) {
  openAndWalk(state, false);
}
void BM_RebuildAndWalkPageTree(benchmark::State& state) {
  openAndWalk(state, true);
}

}  // namespace

BENCHMARK(BM_OpenAndWalkPageTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndWalkPageTree)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
