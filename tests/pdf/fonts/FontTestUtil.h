#pragma once

// Objects for font tests: PDF object text parsed into values, with a small table of indirect
// objects so font dictionaries can refer to embedded programs.

#include <map>
#include <memory>
#include <string>

#include "pdf/core/CPDFLexer.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/core/CPDFParser.h"
#include "pdf/core/FileRangeStream.h"

namespace qv::test {

class MapResolver : public CPDFObjectResolver {
 public:
  // Object `num` 0 R is the parsed `text`.
  void set(int num, const std::string& text) { texts_[num] = text; }
  // Object `num` 0 R is a stream of `data` with dictionary entries `entries`.
  void setStream(int num, const std::string& entries, const std::string& data) {
    texts_[num] = "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" +
                  data + "\nendstream\n";
  }
  CPDFObject fetchObject(int32_t num, int32_t) override {
    auto it = texts_.find(num);
    return it == texts_.end() ? CPDFObject::makeNull() : parse(it->second);
  }
  CPDFObject parse(const std::string& text) {
    auto lexer = std::make_unique<CPDFLexer>(this, makeMemoryStream(text));
    CPDFParser parser(this, std::move(lexer));
    return parser.parseObject();
  }

 private:
  std::map<int, std::string> texts_;
};

}  // namespace qv::test
