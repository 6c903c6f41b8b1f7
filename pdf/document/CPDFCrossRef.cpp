#include "pdf/document/CPDFCrossRef.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "pdf/core/CPDFLexer.h"
#include "pdf/core/CPDFParser.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/document/DocumentLimits.h"
#include "pdf/document/StandardDecryptorFactory.h"

namespace qv {

namespace {

bool isWhite(int c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

// Digits enough for any file offset or count a table may hold; more are treated as damage.
constexpr int kMaxNumberDigits = 18;

// The table grows in steps of this many entries.
constexpr int64_t kTableGrowStep = 256;

void skipWhite(CPDFStream& str) {
  while (isWhite(str.peekChar())) {
    str.nextChar();
  }
}

// A decimal number of 1 to 20 digits at the stream's position; nothing when there are no
// digits. More than kMaxNumberDigits digits are consumed but make the number unusable.
std::optional<int64_t> readDecimal(CPDFStream& str) {
  int64_t value = 0;
  int digits = 0;
  while (digits < 20 && isDigit(str.peekChar())) {
    const int c = str.nextChar();
    if (digits < kMaxNumberDigits) {
      value = value * 10 + (c - '0');
    }
    ++digits;
  }
  if (digits == 0 || digits > kMaxNumberDigits) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

CPDFCrossRef::CPDFCrossRef(FileRangeStream& str, const std::optional<std::string>& ownerPassword,
                           const std::optional<std::string>& userPassword)
    : str_(str), start_(str.getStart()) {
  str_.reset();
  bool readTable = readTrailerSection();
  if (readTable) {
    // Size entries, but never more than the file could define (each definition takes more
    // than one byte) nor above the object number bound: the table grows later when a
    // section needs more, so a hostile Size costs nothing.
    const int64_t size = trailer_.getDict()->lookupRaw("Size").getInt();
    const int64_t bound = std::min<int64_t>(int64_t{kMaxObjectNumber} + 1, str_.file()->size());
    entries_.assign(static_cast<size_t>(std::clamp<int64_t>(size, 0, bound)), XRefEntry{});
    // Newest section first; a section fills only entries still unknown, so newer definitions
    // win. A Prev that names a section already read ends the chain; such a loop means the
    // chain is damaged (the sections it skips are lost), so the table is rebuilt instead.
    std::set<int64_t> seen;
    int64_t offset = startXref_;
    for (int sections = 0; sections < kMaxXrefSections; ++sections) {
      seen.insert(offset);
      int64_t prev = -1;
      if (!readSection(offset, &prev)) {
        break;
      }
      if (prev < 0 || seen.count(prev) || sections + 1 == kMaxXrefSections) {
        reportError(-1, "Loop in cross-reference Prev chain");
        ok_ = false;
        break;
      }
      offset = prev;
    }
    if (!ok_) {
      entries_.clear();
      readTable = false;
    }
  }
  if (!readTable) {
    ok_ = rebuild();
    if (!ok_) {
      return;
    }
  }

  if (CPDFDict* dict = trailer_.getDict()) {
    dict->setResolver(this);
  }
  encryption_ = EncryptionState{};
  const CPDFDict emptyTrailer(this);
  const CPDFDict& trailer = trailer_.getDict() ? *trailer_.getDict() : emptyTrailer;
  std::optional<EncryptionState> state =
      CPDFSecurityHandler::checkEncryption(trailer, ownerPassword, userPassword);
  if (!state) {
    ok_ = false;
    return;
  }
  encryption_ = *state;
  if (encryption_.encrypted) {
    decryptors_ = std::make_unique<StandardDecryptorFactory>(encryption_.fileKey);
  }
}

CPDFCrossRef::~CPDFCrossRef() = default;

const XRefEntry* CPDFCrossRef::entry(int32_t num) const {
  if (num < 0 || num >= getSize()) {
    return nullptr;
  }
  return &entries_[static_cast<size_t>(num)];
}

bool CPDFCrossRef::permitted(bool ignoreOwnerPw, int32_t bit) const {
  return (!ignoreOwnerPw && encryption_.ownerPasswordOk) || (encryption_.p & bit) != 0;
}

bool CPDFCrossRef::growTo(int64_t size) {
  if (size > int64_t{kMaxObjectNumber} + 1) {
    return false;
  }
  if (size > getSize()) {
    int64_t newSize = getSize();
    while (newSize < size) {
      newSize += kTableGrowStep;
    }
    entries_.resize(static_cast<size_t>(newSize));
  }
  return true;
}

CPDFObject CPDFCrossRef::parseTrailerAt(int64_t pos) {
  std::unique_ptr<SourceStream> sub = str_.makeSubStream(pos, -1, CPDFObject::makeNull());
  if (!sub) {
    return CPDFObject::makeNull();
  }
  CPDFParser parser(nullptr, std::make_unique<CPDFLexer>(nullptr, std::move(sub)), &filters_);
  return parser.parseObject();
}

bool CPDFCrossRef::readTrailerSection() {
  // The last "startxref" within the final 1024 bytes.
  const RefPtr<CPDFFile>& file = str_.file();
  const int64_t fileSize = file->size();
  const int64_t tailStart = std::max<int64_t>(fileSize - 1024, 0);
  char tail[1025] = {};
  const size_t tailLength = file->readAt(tailStart, reinterpret_cast<uint8_t*>(tail), 1024);
  const char kKeyword[] = "startxref";
  const size_t keywordLength = sizeof kKeyword - 1;
  if (tailLength < keywordLength) {
    return false;
  }
  int64_t found = -1;
  for (int64_t i = static_cast<int64_t>(tailLength - keywordLength); i >= 0; --i) {
    if (std::memcmp(tail + i, kKeyword, keywordLength) == 0) {
      found = i;
      break;
    }
  }
  if (found < 0) {
    return false;
  }
  str_.setPos(tailStart + found + static_cast<int64_t>(keywordLength));
  skipWhite(str_);
  const std::optional<int64_t> offset = readDecimal(str_);
  if (!offset) {
    return false;
  }
  startXref_ = *offset;

  uint8_t head[4] = {};
  if (file->readAt(start_ + startXref_, head, 4) != 4 || std::memcmp(head, "xref", 4) != 0) {
    return false;
  }

  // Walk over the subsections to the trailer without reading their entries.
  int64_t pos = start_ + startXref_ + 4;
  while (true) {
    uint8_t window[35];
    if (file->readAt(pos, window, sizeof window) != sizeof window) {
      return false;
    }
    size_t i = 0;
    while (i < sizeof window && isWhite(window[i])) {
      ++i;
    }
    if (i + 7 <= sizeof window && std::memcmp(window + i, "trailer", 7) == 0) {
      pos += static_cast<int64_t>(i) + 7;
      break;
    }
    const size_t firstDigits = i;
    while (i < sizeof window && isDigit(window[i])) {
      ++i;
    }
    if (i == firstDigits) {
      return false;
    }
    while (i < sizeof window && isWhite(window[i])) {
      ++i;
    }
    int64_t count = 0;
    const size_t countDigits = i;
    while (i < sizeof window && isDigit(window[i]) && i - countDigits < kMaxNumberDigits) {
      count = count * 10 + (window[i] - '0');
      ++i;
    }
    if (i == countDigits || count > kMaxObjectNumber) {
      return false;
    }
    while (i < sizeof window && isWhite(window[i])) {
      ++i;
    }
    pos += static_cast<int64_t>(i) + 20 * count;
  }

  CPDFObject trailer = parseTrailerAt(pos);
  if (!trailer.isDict()) {
    return false;
  }
  const CPDFObject size = trailer.dictLookupRaw("Size");
  const CPDFObject root = trailer.dictLookupRaw("Root");
  if (!size.isInt() || !root.isRef()) {
    return false;
  }
  rootNum_ = root.getRefNum();
  rootGen_ = root.getRefGen();
  trailer_ = std::move(trailer);
  return true;
}

bool CPDFCrossRef::readSection(int64_t offset, int64_t* prevOffset) {
  str_.setPos(start_ + offset);
  skipWhite(str_);
  char keyword[4] = {};
  for (char& c : keyword) {
    c = static_cast<char>(str_.nextChar());
  }
  if (std::memcmp(keyword, "xref", 4) != 0) {
    ok_ = false;
    return false;
  }
  while (true) {
    skipWhite(str_);
    if (str_.peekChar() == 't') {
      std::unique_ptr<SourceStream> sub =
          str_.makeSubStream(str_.getPos(), -1, CPDFObject::makeNull());
      CPDFParser parser(nullptr, std::make_unique<CPDFLexer>(nullptr, std::move(sub)), &filters_);
      const CPDFObject word = parser.parseObject();
      const CPDFObject dict = word.isCmd("trailer") ? parser.parseObject() : CPDFObject();
      if (!dict.isDict()) {
        ok_ = false;
        return false;
      }
      const CPDFObject prev = dict.dictLookupRaw("Prev");
      if (prev.isInt()) {
        *prevOffset = prev.getInt();
        return true;
      }
      return false;
    }
    const std::optional<int64_t> first = readDecimal(str_);
    if (!first || !isWhite(str_.peekChar())) {
      ok_ = false;
      return false;
    }
    skipWhite(str_);
    const std::optional<int64_t> count = readDecimal(str_);
    if (!count || !isWhite(str_.peekChar())) {
      ok_ = false;
      return false;
    }
    skipWhite(str_);
    if (!readSubsection(*first, *count)) {
      return false;
    }
  }
}

bool CPDFCrossRef::readSubsection(int64_t first, int64_t count) {
  if (first + count > int64_t{kMaxObjectNumber} + 1 || !growTo(first + count)) {
    reportError(str_.getPos(), "Cross-reference subsection too large");
    ok_ = false;
    return false;
  }
  for (int64_t i = 0; i < count; ++i) {
    char line[20];
    for (char& c : line) {
      const int byte = str_.nextChar();
      if (byte < 0) {
        ok_ = false;
        return false;
      }
      c = static_cast<char>(byte);
    }
    int64_t offset = 0;
    for (int k = 0; k < 10 && isDigit(line[k]); ++k) {
      offset = offset * 10 + (line[k] - '0');
    }
    int32_t gen = 0;
    for (int k = 11; k < 16 && isDigit(line[k]); ++k) {
      gen = gen * 10 + (line[k] - '0');
    }
    const char type = line[17];
    if (type != 'n' && type != 'f') {
      ok_ = false;
      return false;
    }
    // Some writers number the first subsection from 1 while its first entry is the free
    // head of object 0 (offset 0, generation 65535): read it as starting at 0.
    if (i == 0 && first == 1 && offset == 0 && gen == 65535 && type == 'f') {
      first = 0;
    }
    XRefEntry& slot = entries_[static_cast<size_t>(first + i)];
    if (slot.offset == -1) {
      slot.offset = offset;
      slot.gen = gen;
      slot.used = type == 'n';
    }
  }
  return true;
}

int64_t CPDFCrossRef::findStreamEnd(int64_t pos) const {
  auto it = std::lower_bound(streamEnds_.begin(), streamEnds_.end(), pos);
  return it == streamEnds_.end() ? -1 : *it;
}

CPDFObject CPDFCrossRef::fetchObject(int32_t num, int32_t gen) {
  const XRefEntry* e = entry(num);
  if (!e || e->gen != gen || e->offset < 0) {
    return CPDFObject::makeNull();
  }
  CPDFResolveGuard guard(fetching_, {num, gen});
  if (!guard.entered()) {
    return CPDFObject::makeNull();
  }
  std::unique_ptr<SourceStream> sub =
      str_.makeSubStream(start_ + e->offset, -1, CPDFObject::makeNull());
  if (!sub) {
    return CPDFObject::makeNull();
  }
  CPDFParser parser(this, std::make_unique<CPDFLexer>(this, std::move(sub)), &filters_);
  const CPDFObject objNum = parser.parseObject();
  const CPDFObject objGen = parser.parseObject();
  const CPDFObject keyword = parser.parseObject();
  if (!objNum.isInt() || objNum.getInt() != num || !objGen.isInt() || objGen.getInt() != gen ||
      !keyword.isCmd("obj")) {
    return CPDFObject::makeNull();
  }
  CPDFObject obj = parser.parseObject(decryptors_.get(), num, gen);
  switch (obj.kind()) {
    case ObjKind::Eof:
    case ObjKind::Error:
    case ObjKind::Cmd:
    case ObjKind::None:
      return CPDFObject::makeNull();
    default:
      return obj;
  }
}

}  // namespace qv
