#pragma once

// Helpers for the document tests: open fixture bytes as a document, and append an
// incremental update (new objects, a table and a trailer with Prev) to a built file.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "pdf/core/CPDFFile.h"
#include "pdf/document/CPDFDocument.h"
#include "tests/support/PdfFixture.h"

namespace qv::test {

inline std::unique_ptr<CPDFDocument> openBytes(std::string bytes,
                                               std::optional<std::string> owner = {},
                                               std::optional<std::string> user = {}) {
  return std::make_unique<CPDFDocument>(CPDFFile::fromBytes(std::move(bytes)), owner, user);
}

// A catalog (1), a page tree (2) and one page (3) with the given extra entries.
inline PdfFixture onePage(const std::string& pageEntries = "") {
  PdfFixture pdf;
  pdf.add("<< /Type /Catalog /Pages 2 0 R >>");
  pdf.add("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.add("<< /Type /Page /Parent 2 0 R " + pageEntries + " >>");
  return pdf;
}

// Appends objects (number -> body, generation 0), a table of one subsection per object and
// a trailer whose Prev is `prev`; `base` ends with its own startxref. Offsets are counted
// from `headerOffset`.
inline std::string appendUpdate(const std::string& base, const std::map<int, std::string>& objects,
                                long prev, int size, long headerOffset = 0) {
  std::string out = base;
  std::map<int, long> offsets;
  for (const auto& [num, body] : objects) {
    offsets[num] = static_cast<long>(out.size()) - headerOffset;
    out += std::to_string(num) + " 0 obj\n" + body + "\nendobj\n";
  }
  const long xref = static_cast<long>(out.size()) - headerOffset;
  out += "xref\n";
  for (const auto& [num, offset] : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010ld 00000 n\r\n", offset);
    out += std::to_string(num) + " 1\n" + entry;
  }
  out += "trailer\n<< /Size " + std::to_string(size) + " /Root 1 0 R /Prev " +
         std::to_string(prev) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return out;
}

}  // namespace qv::test
