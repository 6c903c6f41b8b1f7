#include "pdf/core/CPDFLexer.h"

#include <cstdint>

#include "pdf/core/CPDFArray.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/HexDigit.h"
#include "pdf/core/Limits.h"

namespace qv {

namespace {

enum CharClass : uint8_t { kRegular = 0, kWhite = 1, kDelim = 2 };

constexpr std::array<uint8_t, 256> makeCharClasses() {
  std::array<uint8_t, 256> t{};
  for (int c : {0x00, 0x09, 0x0a, 0x0c, 0x0d, 0x20}) {
    t[c] = kWhite;
  }
  for (char c : {'%', '(', ')', '/', '<', '>', '[', ']', '{', '}'}) {
    t[static_cast<uint8_t>(c)] = kDelim;
  }
  return t;
}

constexpr std::array<uint8_t, 256> kCharClass = makeCharClasses();

bool isWhite(int c) {
  return c >= 0 && kCharClass[c] == kWhite;
}
bool isRegular(int c) {
  return c >= 0 && kCharClass[c] == kRegular;
}
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

// Appends one byte to a string under construction, dropping bytes past kMaxStringLength
// (reported once per string).
void appendBounded(std::string& s, int byte, bool& tooLong, int64_t pos) {
  if (s.size() < kMaxStringLength) {
    s.push_back(static_cast<char>(byte));
  } else if (!tooLong) {
    tooLong = true;
    reportError(pos, "String too long");
  }
}

}  // namespace

CPDFLexer::CPDFLexer(CPDFObjectResolver* xref, std::unique_ptr<CPDFStream> stream)
    : xref_(xref), cur_(RefPtr<CPDFStream>::adopt(std::move(stream))) {
  if (cur_) {
    cur_->reset();
  }
}

CPDFLexer::CPDFLexer(CPDFObjectResolver* xref, const CPDFObject& streams) : xref_(xref) {
  if (streams.isStream()) {
    cur_ = streams.streamRef();
    cur_->reset();
  } else if (streams.isArray()) {
    streams_ = streams.arrayRef();
    startStream(0);
  } else {
    reportError(-1, "Weird page contents");
  }
}

CPDFLexer::~CPDFLexer() {
  closeCurrent();
}

void CPDFLexer::closeCurrent() {
  if (cur_) {
    cur_->close();
    cur_.reset();
  }
}

bool CPDFLexer::startStream(int index) {
  for (int i = index; streams_ && i < streams_->count(); ++i) {
    CPDFObject obj = streams_->at(i).resolve(xref_ ? xref_ : streams_->resolver());
    if (obj.isStream()) {
      cur_ = obj.streamRef();
      index_ = i;
      cur_->reset();
      return true;
    }
    reportError(-1, "Weird page contents");
  }
  return false;
}

int CPDFLexer::nextByte() {
  while (cur_) {
    const int c = cur_->nextChar();
    if (c >= 0) {
      return c;
    }
    closeCurrent();
    if (!streams_ || !startStream(index_ + 1)) {
      streams_.reset();
      return -1;
    }
  }
  return -1;
}

int64_t CPDFLexer::getPos() const {
  return cur_ ? cur_->getPos() : -1;
}

void CPDFLexer::setPos(int64_t pos) {
  if (cur_) {
    cur_->setPos(pos);
  }
}

void CPDFLexer::skipToNextLine() {
  while (true) {
    const int c = nextByte();
    if (c < 0 || c == '\n') {
      return;
    }
    if (c == '\r') {
      if (peekByte() == '\n') {
        nextByte();
      }
      return;
    }
  }
}

CPDFObject CPDFLexer::nextObject() {
  int c;
  bool comment = false;
  while (true) {
    c = nextByte();
    if (c < 0) {
      return CPDFObject::makeEof();
    }
    if (comment) {
      if (c == '\r' || c == '\n') {
        comment = false;
      }
    } else if (c == '%') {
      comment = true;
    } else if (!isWhite(c)) {
      break;
    }
  }

  switch (c) {
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
    case '-':
    case '.':
      return lexNumber(c);
    case '(':
      return lexString();
    case '/':
      return lexName();
    case '<':
      if (peekByte() == '<') {
        nextByte();
        return CPDFObject::makeCmd("<<");
      }
      return lexHexString();
    case '>':
      if (peekByte() == '>') {
        nextByte();
        return CPDFObject::makeCmd(">>");
      }
      reportError(getPos(), "Illegal character '>'");
      return CPDFObject::makeError();
    case '[':
      return CPDFObject::makeCmd("[");
    case ']':
      return CPDFObject::makeCmd("]");
    case ')':
    case '{':
    case '}':
      reportError(getPos(), "Illegal character '%c'", c);
      return CPDFObject::makeError();
    default:
      return lexKeyword(c);
  }
}

CPDFObject CPDFLexer::lexNumber(int c) {
  // Integers that do not fit 32 bits become reals instead of wrapping around, so a huge
  // value stays huge rather than turning into a small or negative one.
  const bool negative = c == '-';
  bool real = false;
  int64_t intPart = 0;
  double value = 0.0;
  bool big = false;
  if (isDigit(c)) {
    intPart = c - '0';
  }
  if (c != '.') {
    while (isDigit(peekByte())) {
      const int d = nextByte() - '0';
      if (big) {
        value = value * 10 + d;
      } else {
        intPart = intPart * 10 + d;
        if (intPart > int64_t{INT32_MAX} + 1) {
          big = true;
          value = static_cast<double>(intPart);
        }
      }
    }
    if (peekByte() == '.') {
      nextByte();
      real = true;
    }
  } else {
    real = true;
  }
  if (!big) {
    value = static_cast<double>(intPart);
  }
  if (real) {
    double scale = 0.1;
    while (isDigit(peekByte())) {
      value += (nextByte() - '0') * scale;
      scale *= 0.1;
    }
  }
  if (!real && !big && (negative || intPart <= INT32_MAX)) {
    return CPDFObject::makeInt(static_cast<int32_t>(negative ? -intPart : intPart));
  }
  return CPDFObject::makeReal(negative ? -value : value);
}

CPDFObject CPDFLexer::lexString() {
  std::string s;
  bool tooLong = false;
  int nesting = 1;
  while (true) {
    int c = nextByte();
    int out = -1;
    if (c < 0) {
      reportError(getPos(), "Unterminated string");
      break;
    }
    if (c == '(') {
      ++nesting;
      out = c;
    } else if (c == ')') {
      if (--nesting == 0) {
        break;
      }
      out = c;
    } else if (c == '\\') {
      c = nextByte();
      switch (c) {
        case -1:
          reportError(getPos(), "Unterminated string");
          return CPDFObject::makeString(CPDFString(std::move(s)));
        case 'n':
          out = '\n';
          break;
        case 'r':
          out = '\r';
          break;
        case 't':
          out = '\t';
          break;
        case 'b':
          out = '\b';
          break;
        case 'f':
          out = '\f';
          break;
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
          int v = c - '0';
          for (int i = 0; i < 2 && peekByte() >= '0' && peekByte() <= '7'; ++i) {
            v = v * 8 + (nextByte() - '0');
          }
          out = v & 0xff;
          break;
        }
        case '\r':
          if (peekByte() == '\n') {
            nextByte();
          }
          break;
        case '\n':
          break;
        default:
          out = c;
          break;
      }
    } else {
      out = c;
    }
    if (out >= 0) {
      appendBounded(s, out, tooLong, getPos());
    }
  }
  return CPDFObject::makeString(CPDFString(std::move(s)));
}

CPDFObject CPDFLexer::lexName() {
  std::string name;
  while (isRegular(peekByte())) {
    int c = nextByte();
    if (c == '#') {
      const int hi = hexDigitValue(peekByte());
      if (hi >= 0) {
        nextByte();
        const int lo = hexDigitValue(peekByte());
        if (lo >= 0) {
          nextByte();
          c = hi * 16 + lo;
        } else {
          reportError(getPos(), "Illegal digit in hex char in name");
          nextByte();
          c = hi * 16;
        }
      }
    }
    if (name.size() >= kMaxNameLength) {
      reportError(getPos(), "Name token too long");
      break;
    }
    name.push_back(static_cast<char>(c));
  }
  return CPDFObject::makeName(name);
}

CPDFObject CPDFLexer::lexHexString() {
  std::string s;
  bool tooLong = false;
  int high = -1;
  while (true) {
    const int c = nextByte();
    if (c == '>') {
      break;
    }
    if (c < 0) {
      reportError(getPos(), "Unterminated hex string");
      break;
    }
    if (isWhite(c)) {
      continue;
    }
    int v = hexDigitValue(c);
    if (v < 0) {
      reportError(getPos(), "Illegal character <%02x> in hex string", c);
      v = 0;
    }
    if (high < 0) {
      high = v;
    } else {
      appendBounded(s, high * 16 + v, tooLong, getPos());
      high = -1;
    }
  }
  if (high >= 0) {
    appendBounded(s, high * 16, tooLong, getPos());
  }
  return CPDFObject::makeString(CPDFString(std::move(s)));
}

CPDFObject CPDFLexer::lexKeyword(int c) {
  std::string token(1, static_cast<char>(c));
  while (isRegular(peekByte())) {
    const int next = nextByte();
    if (token.size() >= kMaxCommandLength) {
      reportError(getPos(), "Command token too long");
      break;
    }
    token.push_back(static_cast<char>(next));
  }
  if (token == "true") {
    return CPDFObject::makeBool(true);
  }
  if (token == "false") {
    return CPDFObject::makeBool(false);
  }
  if (token == "null") {
    return CPDFObject::makeNull();
  }
  return CPDFObject::makeCmd(token);
}

}  // namespace qv
