#pragma once

// Turns PDF bytes into tokens (CPDFObject values): numbers, strings, names, booleans, null,
// and everything else as a cmd ("[", "<<", "obj", operators). Reads one stream, or the
// streams of a content array one after another as a single byte sequence. Lexical errors are
// reported and reading goes on; tokens that cannot start anything come back as error values.
//
// Ownership: a lexer made from a stream owns it; one made from a stream or array value
// shares it. The current stream is reset when reading starts and closed when it ends or the
// lexer dies. The table (may be null) is borrowed and resolves array elements.

#include <array>
#include <cstdint>
#include <memory>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/core/CPDFStream.h"

namespace qv {

class CPDFLexer {
 public:
  CPDFLexer(CPDFObjectResolver* xref, std::unique_ptr<CPDFStream> stream);
  // `streams` is a stream value or an array of them; elements are resolved when reached and
  // anything that is not a stream is skipped with a report.
  CPDFLexer(CPDFObjectResolver* xref, const CPDFObject& streams);
  ~CPDFLexer();
  CPDFLexer(const CPDFLexer&) = delete;
  CPDFLexer& operator=(const CPDFLexer&) = delete;

  // The next token; an eof value at the end of the input.
  CPDFObject nextObject();

  // Consumes bytes up to and including the next LF, CR or CR LF, or to the end.
  void skipToNextLine();
  // Consumes one byte.
  void skipChar() { nextByte(); }
  // The current stream's position, -1 when there is none.
  int64_t getPos() const;
  void setPos(int64_t pos);
  // The current stream (null at the end), for callers that read raw bytes such as inline
  // image data.
  CPDFStream* getStream() const { return cur_.get(); }

  // Reads across the streams of the input.
  int nextByte();
  // Looks ahead in the current stream only; -1 at its end.
  int peekByte() { return cur_ ? cur_->peekChar() : -1; }

 private:
  bool startStream(int index);
  void closeCurrent();
  CPDFObject lexNumber(int c);
  CPDFObject lexString();
  CPDFObject lexName();
  CPDFObject lexHexString();
  CPDFObject lexKeyword(int c);

  CPDFObjectResolver* xref_;
  RefPtr<CPDFStream> cur_;
  RefPtr<CPDFArray> streams_;  // when reading a content array
  int index_ = 0;              // element of streams_ that cur_ came from
};

}  // namespace qv
