#pragma once

// Helpers shared by the core tests: lexing and parsing text, a resolver over a tiny in-memory
// file, a generated stream of any length.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pdf/core/CPDFLexer.h"
#include "pdf/core/CPDFParser.h"
#include "pdf/core/CPDFResolveGuard.h"
#include "pdf/core/FileRangeStream.h"

namespace qv::test {

// "kind:text" of a value, e.g. "integer:12", "cmd:e5", "string:a(b)c".
inline std::string describe(const CPDFObject& obj) {
  return std::string(obj.typeName()) + ":" + obj.toText();
}

// Every token of `text` up to eof, described.
inline std::vector<std::string> lexAll(const std::string& text) {
  CPDFLexer lexer(nullptr, makeMemoryStream(text));
  std::vector<std::string> out;
  for (CPDFObject obj = lexer.nextObject(); !obj.isEof(); obj = lexer.nextObject()) {
    out.push_back(describe(obj));
  }
  return out;
}

inline std::unique_ptr<CPDFParser> parserFor(const std::string& text,
                                             CPDFObjectResolver* xref = nullptr,
                                             const CPDFFilterFactory* filters = nullptr) {
  return std::make_unique<CPDFParser>(
      xref, std::make_unique<CPDFLexer>(xref, makeMemoryStream(text)), filters);
}

// Every object of `text` up to eof, described.
inline std::vector<std::string> parseAll(const std::string& text) {
  auto parser = parserFor(text);
  std::vector<std::string> out;
  for (CPDFObject obj = parser->parseObject(); !obj.isEof(); obj = parser->parseObject()) {
    out.push_back(describe(obj));
  }
  return out;
}

// Resolves "num gen obj ... endobj" definitions found in one in-memory file, guarding
// against loops the way the cross-reference table does.
class MemoryResolver : public CPDFObjectResolver {
 public:
  explicit MemoryResolver(std::string bytes) : file_(CPDFFile::fromBytes(std::move(bytes))) {
    const std::string text = bytesOf();
    for (size_t pos = text.find(" obj"); pos != std::string::npos;
         pos = text.find(" obj", pos + 1)) {
      size_t lineStart = text.rfind('\n', pos);
      lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
      offsets_[std::stoi(text.substr(lineStart))] = static_cast<int64_t>(lineStart);
    }
  }

  CPDFObject fetchObject(int32_t num, int32_t gen) override {
    ++fetches;
    auto it = offsets_.find(num);
    if (it == offsets_.end()) {
      return CPDFObject::makeNull();
    }
    CPDFResolveGuard guard(active_, {num, gen});
    if (!guard.entered()) {
      return CPDFObject::makeNull();
    }
    auto stream = std::make_unique<FileRangeStream>(file_, it->second, -1, CPDFObject());
    CPDFParser parser(this, std::make_unique<CPDFLexer>(this, std::move(stream)), filters);
    CPDFObject n = parser.parseObject();
    CPDFObject g = parser.parseObject();
    CPDFObject kw = parser.parseObject();
    if (!n.isInt() || !g.isInt() || !kw.isCmd("obj")) {
      return CPDFObject::makeNull();
    }
    return parser.parseObject(decrypt, num, gen);
  }

  int64_t findStreamEnd(int64_t pos) const override {
    for (int64_t end : streamEnds) {
      if (end >= pos) {
        return end;
      }
    }
    return -1;
  }

  const RefPtr<CPDFFile>& file() const { return file_; }

  std::vector<int64_t> streamEnds;
  const CPDFFilterFactory* filters = nullptr;
  const DecryptorFactory* decrypt = nullptr;
  int fetches = 0;

 private:
  std::string bytesOf() const {
    std::string all(static_cast<size_t>(file_->size()), '\0');
    file_->readAt(0, reinterpret_cast<uint8_t*>(all.data()), all.size());
    return all;
  }

  RefPtr<CPDFFile> file_;
  std::map<int32_t, int64_t> offsets_;
  CPDFResolveSet active_;
};

// A source stream of `prefix`, then `count` copies of `fill`, then `suffix`, generated as
// it is read, so tests of the size bounds need no large buffers.
class GeneratedStream : public SourceStream {
 public:
  GeneratedStream(std::string prefix, char fill, size_t count, std::string suffix)
      : SourceStream(CPDFObject()),
        text_{std::move(prefix), std::string(), std::move(suffix)},
        fill_(fill),
        count_(count) {}

  StreamKind getKind() const override { return StreamKind::FileRange; }
  int64_t getPos() const override { return pos_ - static_cast<int64_t>(outputRemaining()); }
  std::unique_ptr<SourceStream> makeSubStream(int64_t, int64_t, CPDFObject) override {
    return nullptr;
  }
  int64_t getStart() const override { return 0; }
  void moveStart(int64_t) override {}

 protected:
  void onReset() override { pos_ = 0; }
  bool refill() override {
    const int64_t prefix = static_cast<int64_t>(text_[0].size());
    const int64_t body = static_cast<int64_t>(count_);
    const int64_t total = prefix + body + static_cast<int64_t>(text_[2].size());
    if (pos_ >= total) {
      return false;
    }
    uint8_t* out = beginOutput(kChunk);
    size_t n = 0;
    while (n < kChunk && pos_ < total) {
      if (pos_ < prefix) {
        out[n] = static_cast<uint8_t>(text_[0][static_cast<size_t>(pos_)]);
      } else if (pos_ < prefix + body) {
        out[n] = static_cast<uint8_t>(fill_);
      } else {
        out[n] = static_cast<uint8_t>(text_[2][static_cast<size_t>(pos_ - prefix - body)]);
      }
      ++n;
      ++pos_;
    }
    commitOutput(n);
    return true;
  }

 private:
  static constexpr size_t kChunk = 1 << 16;
  std::string text_[3];
  char fill_;
  size_t count_;
  int64_t pos_ = 0;
};

}  // namespace qv::test
