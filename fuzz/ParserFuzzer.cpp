// Fuzz target for the lexer and parser: the input is read as the body of an indirect object
// (through a resolver over the same bytes, so references and stream lengths are exercised)
// and then as a content stream.

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/core/CPDFParser.h"
#include "pdf/core/CPDFResolveGuard.h"
#include "pdf/core/FileRangeStream.h"

namespace {

// Object n starts at byte offset n * 16 of the input: cheap, and reaches every byte.
class FuzzResolver : public qv::CPDFObjectResolver {
 public:
  explicit FuzzResolver(qv::RefPtr<qv::CPDFFile> file) : file_(std::move(file)) {}

  qv::CPDFObject fetchObject(int32_t num, int32_t gen) override {
    const int64_t offset = int64_t{num} * 16;
    if (num < 0 || offset >= file_->size()) {
      return qv::CPDFObject::makeNull();
    }
    qv::CPDFResolveGuard guard(active_, {num, gen});
    if (!guard.entered()) {
      return qv::CPDFObject::makeNull();
    }
    auto stream = std::make_unique<qv::FileRangeStream>(file_, offset, -1, qv::CPDFObject());
    qv::CPDFParser parser(this, std::make_unique<qv::CPDFLexer>(this, std::move(stream)));
    return parser.parseObject();
  }

 private:
  qv::RefPtr<qv::CPDFFile> file_;
  qv::CPDFResolveSet active_;
};

void drain(qv::CPDFObject& obj) {
  if (qv::CPDFStream* s = obj.getStream()) {
    s->reset();
    s->readAll(1 << 20);
    s->close();
  }
  obj.toText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = qv::CPDFFile::fromBytes(std::string(reinterpret_cast<const char*>(data), size));
  FuzzResolver xref(file);
  {
    qv::CPDFParser parser(
        &xref, std::make_unique<qv::CPDFLexer>(
                   &xref, std::make_unique<qv::FileRangeStream>(file, 0, -1, qv::CPDFObject())));
    for (int i = 0; i < 1000; ++i) {
      qv::CPDFObject obj = parser.parseObject();
      if (obj.isEof()) {
        break;
      }
      if (auto ref = obj.isRef() ? obj.resolve(&xref) : qv::CPDFObject(); ref.isStream()) {
        drain(ref);
      }
      drain(obj);
      if (obj.isCmd("ID") && parser.getStream() != nullptr) {
        for (int k = 0; k < 8; ++k) {
          parser.getStream()->nextChar();
        }
      }
    }
  }
  return 0;
}
