#include "pdf/core/CPDFParser.h"

#include "pdf/core/ErrorReport.h"
#include "pdf/core/Limits.h"
#include "pdf/core/SourceStream.h"

namespace qv {

CPDFParser::CPDFParser(CPDFObjectResolver* xref, std::unique_ptr<CPDFLexer> lexer,
                       const CPDFFilterFactory* filters)
    : xref_(xref), lexer_(std::move(lexer)), filters_(filters) {
  buf1_ = lexer_->nextObject();
  buf2_ = lexer_->nextObject();
}

CPDFParser::~CPDFParser() = default;

CPDFObject CPDFParser::parseObject(const DecryptorFactory* decrypt, int32_t num, int32_t gen) {
  return parse(decrypt, num, gen, 0);
}

void CPDFParser::shift() {
  if (inlineImage_ >= 2) {
    // Shifting again past inline image data (an "ID" inside a dictionary, say) must read on,
    // or a loop waiting for ">>" would see null tokens forever.
    inlineImage_ = 0;
    buf1_ = lexer_->nextObject();
    buf2_ = lexer_->nextObject();
    return;
  }
  if (inlineImage_ > 0) {
    // Inside inline image data nothing is read ahead: the caller reads the raw bytes.
    buf1_ = std::move(buf2_);
    buf2_ = CPDFObject::makeNull();
    ++inlineImage_;
    return;
  }
  if (buf2_.isCmd("ID")) {
    // The single whitespace byte after "ID" belongs to the operator, not to the image data.
    lexer_->skipChar();
    inlineImage_ = 1;
    buf1_ = std::move(buf2_);
    buf2_ = CPDFObject::makeNull();
    return;
  }
  buf1_ = std::move(buf2_);
  buf2_ = lexer_->nextObject();
}

CPDFObject CPDFParser::parse(const DecryptorFactory* decrypt, int32_t num, int32_t gen, int depth) {
  if (inlineImage_ == 2) {
    // The caller has consumed the image data: read afresh after it.
    inlineImage_ = 0;
    buf1_ = lexer_->nextObject();
    buf2_ = lexer_->nextObject();
  }

  if ((buf1_.isCmd("[") || buf1_.isCmd("<<")) && depth >= kMaxNestingDepth) {
    reportError(lexer_->getPos(), "Too many nested arrays or dictionaries");
    shift();
    return CPDFObject::makeError();
  }

  if (buf1_.isCmd("[")) {
    shift();
    CPDFObject array = CPDFObject::makeArray(xref_);
    while (!buf1_.isCmd("]") && !buf1_.isEof()) {
      array.getArray()->add(parse(decrypt, num, gen, depth + 1));
    }
    if (buf1_.isEof()) {
      reportError(lexer_->getPos(), "End of file inside array");
    }
    shift();
    return array;
  }

  if (buf1_.isCmd("<<")) {
    shift();
    CPDFObject dict = CPDFObject::makeDict(xref_);
    while (!buf1_.isCmd(">>") && !buf1_.isEof()) {
      if (!buf1_.isName()) {
        reportError(lexer_->getPos(), "Dictionary key must be a name object");
        shift();
        continue;
      }
      std::string key = buf1_.getName();
      shift();
      if (buf1_.isEof() || buf1_.isError()) {
        break;
      }
      dict.getDict()->add(std::move(key), parse(decrypt, num, gen, depth + 1));
    }
    if (buf1_.isEof()) {
      reportError(lexer_->getPos(), "End of file inside dictionary");
    }
    if (buf2_.isCmd("stream")) {
      // Streams are always indirect objects. Building one inside an array or dictionary
      // would let each nested stream fetch its Length, and a file of arrays of streams whose
      // lengths are objects holding arrays of streams would need exponentially many fetches.
      if (depth == 0) {
        return makeStream(std::move(dict), decrypt, num, gen);
      }
      reportError(lexer_->getPos(), "Stream object inside another object");
    }
    shift();
    return dict;
  }

  if (buf1_.isInt()) {
    const int32_t first = buf1_.getInt();
    shift();
    if (buf1_.isInt() && buf2_.isCmd("R")) {
      CPDFObject ref = CPDFObject::makeRef(first, buf1_.getInt());
      shift();
      shift();
      return ref;
    }
    return CPDFObject::makeInt(first);
  }

  if (buf1_.isString() && decrypt != nullptr) {
    CPDFObject str = buf1_.copy();
    CPDFString* bytes = str.mutableString();
    if (std::unique_ptr<StreamDecryptor> d = decrypt->makeDecryptor(num, gen);
        d && bytes && !bytes->empty()) {
      d->decrypt(reinterpret_cast<uint8_t*>(bytes->data()), bytes->size());
    }
    shift();
    return str;
  }

  CPDFObject obj = buf1_.copy();
  shift();
  return obj;
}

CPDFObject CPDFParser::makeStream(CPDFObject dict, const DecryptorFactory* decrypt, int32_t num,
                                  int32_t gen) {
  lexer_->skipToNextLine();
  CPDFStream* cur = lexer_->getStream();
  const int64_t start = lexer_->getPos();

  CPDFObject lengthObj = dict.dictLookup("Length");
  if (!lengthObj.isInt() || lengthObj.getInt() < 0) {
    // A negative Length would read as "to the end of the file"; refuse it like a missing one.
    reportError(start, "Bad 'Length' attribute in stream");
    return CPDFObject::makeError();
  }
  int64_t length = lengthObj.getInt();
  if (xref_ != nullptr && start >= 0) {
    const int64_t end = xref_->findStreamEnd(start);
    if (end >= 0) {
      length = end - start;
    }
  }

  // Stream data is a byte range of the file, so it can only be cut from a source stream the
  // lexer reads directly; inside decoded data (a content stream) the position means nothing
  // in the file.
  SourceStream* source = cur != nullptr ? cur->getSource() : nullptr;
  if (source == nullptr || source != cur || start < 0) {
    reportError(start, "Stream object outside a file range");
    return CPDFObject::makeError();
  }
  std::unique_ptr<SourceStream> sub = source->makeSubStream(start, length, dict.copy());
  if (!sub) {
    return CPDFObject::makeError();
  }
  if (decrypt != nullptr) {
    sub->attachDecryptor(decrypt->makeDecryptor(num, gen));
  }
  std::unique_ptr<CPDFStream> top = std::move(sub);
  if (filters_ != nullptr) {
    top = filters_->makeFilterChain(std::move(top), *dict.getDict());
  }

  lexer_->setPos(start + length);
  shift();
  shift();
  if (buf1_.isCmd("endstream")) {
    shift();
  } else {
    reportError(lexer_->getPos(), "Missing 'endstream'");
  }
  return CPDFObject::makeStream(RefPtr<CPDFStream>::adopt(std::move(top)));
}

}  // namespace qv
