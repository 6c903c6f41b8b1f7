#pragma once

// Recursive-descent parser over a CPDFLexer: builds arrays, dictionaries, references and
// streams from tokens. Serves the trailer and each indirect object (the cross-reference
// code) and content streams (the interpreter). Lives for one pass; it owns its lexer.
//
// The table (may be null) and the filter factory (may be null: streams are then left
// undecoded) are borrowed. With a DecryptorFactory, strings and streams inside the object
// are decrypted for the object number and generation being read.
//
// Inline images: after parseObject() has returned the cmd "ID", the lexer stands on the first
// byte of the image data; the caller reads the data from getStream() and the next
// parseObject() resynchronises on the bytes after it.

#include <cstdint>
#include <memory>

#include "pdf/core/CPDFFilterFactory.h"
#include "pdf/core/CPDFLexer.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/core/StreamDecryptor.h"

namespace qv {

class CPDFParser {
 public:
  CPDFParser(CPDFObjectResolver* xref, std::unique_ptr<CPDFLexer> lexer,
             const CPDFFilterFactory* filters = nullptr);
  ~CPDFParser();
  CPDFParser(const CPDFParser&) = delete;
  CPDFParser& operator=(const CPDFParser&) = delete;

  // The next complete object; an eof value when the input has ended, an error value for a
  // token that cannot start an object or a stream that cannot be built.
  CPDFObject parseObject(const DecryptorFactory* decrypt = nullptr, int32_t num = 0,
                         int32_t gen = 0);

  CPDFStream* getStream() const { return lexer_->getStream(); }
  int64_t getPos() const { return lexer_->getPos(); }
  CPDFLexer& lexer() { return *lexer_; }

 private:
  CPDFObject parse(const DecryptorFactory* decrypt, int32_t num, int32_t gen, int depth);
  CPDFObject makeStream(CPDFObject dict, const DecryptorFactory* decrypt, int32_t num, int32_t gen);
  void shift();

  CPDFObjectResolver* xref_;
  std::unique_ptr<CPDFLexer> lexer_;
  const CPDFFilterFactory* filters_;
  CPDFObject buf1_;  // current token
  CPDFObject buf2_;  // next token
  int inlineImage_ = 0;
};

}  // namespace qv
