#pragma once

// Builds function objects for tests from PDF object text. A body that holds "stream" gets its
// /Length filled in, so tests write only the dictionary entries and the data.

#include <memory>
#include <string>

#include "pdf/core/CPDFLexer.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFParser.h"
#include "pdf/core/FileRangeStream.h"

namespace qv::test {

inline CPDFObject parsePdfObject(const std::string& text) {
  auto lexer = std::make_unique<CPDFLexer>(nullptr, makeMemoryStream(text));
  CPDFParser parser(nullptr, std::move(lexer));
  return parser.parseObject();
}

// "<< entries /Length n >>\nstream\n" + data + "\nendstream"
inline CPDFObject makePdfStream(const std::string& entries, const std::string& data) {
  return parsePdfObject("<< " + entries + " /Length " + std::to_string(data.size()) +
                        " >>\nstream\n" + data + "\nendstream\n");
}

}  // namespace qv::test
