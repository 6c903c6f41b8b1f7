// The repair path of CPDFCrossRef: rebuilds the table of a damaged file (or of a file whose
// cross-reference data this reader does not understand, such as cross-reference streams) by
// scanning it line by line for object headers, trailers and "endstream" lines.

#include <cstring>
#include <string_view>

#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/document/CPDFCrossRef.h"
#include "pdf/document/DocumentLimits.h"

namespace qv {

namespace {

bool isWhite(char c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads digits at p into value (saturating above the object number bound); false when none.
bool scanNumber(const char*& p, int64_t& value) {
  if (!isDigit(*p)) {
    return false;
  }
  value = 0;
  while (isDigit(*p)) {
    if (value <= int64_t{kMaxObjectNumber} * 10) {
      value = value * 10 + (*p - '0');
    }
    ++p;
  }
  return true;
}

bool skipRequiredWhite(const char*& p) {
  if (!isWhite(*p) || *p == 0) {
    return false;
  }
  while (*p != 0 && isWhite(*p)) {
    ++p;
  }
  return true;
}

}  // namespace

int32_t CPDFCrossRef::scanObjectLine(const char* line, int64_t pos) {
  const char* p = line;
  int64_t num = 0;
  int64_t gen = 0;
  if (!scanNumber(p, num) || !skipRequiredWhite(p) || !scanNumber(p, gen) ||
      !skipRequiredWhite(p) || std::strncmp(p, "obj", 3) != 0) {
    return -1;
  }
  if (num > kMaxObjectNumber || gen > 65535) {
    reportError(pos, "Object number %lld out of range", static_cast<long long>(num));
    return -1;
  }
  if (num >= getSize()) {
    // Grown to the number rounded down to a multiple of 256, plus 256 entries.
    growTo((num / 256) * 256 + 256);
  }
  XRefEntry& slot = entries_[static_cast<size_t>(num)];
  // Among equal generations the last definition in the file wins.
  if (!slot.used || slot.gen <= gen) {
    slot.offset = pos - start_;
    slot.gen = static_cast<int32_t>(gen);
    slot.used = true;
  }
  return static_cast<int32_t>(num);
}

bool CPDFCrossRef::rebuild() {
  reportError(0, "PDF file is damaged - attempting to reconstruct xref table...");
  rebuilt_ = true;
  streamEnds_.clear();
  bool haveRoot = false;
  // Objects whose first lines mention a cross-reference stream or a catalog: they stand in
  // for the trailer when the file has none (files written with cross-reference streams).
  std::vector<int32_t> candidates;
  int32_t currentObject = -1;

  str_.reset();
  char line[kRebuildLineSize];
  while (true) {
    const int64_t pos = str_.getPos();
    if (!str_.readLine(line, sizeof line)) {
      break;
    }
    if (std::strncmp(line, "trailer", 7) == 0) {
      CPDFObject trailer = parseTrailerAt(pos + 7);
      if (trailer.isDict()) {
        const CPDFObject root = trailer.dictLookupRaw("Root");
        if (root.isRef()) {
          rootNum_ = root.getRefNum();
          rootGen_ = root.getRefGen();
          haveRoot = true;
        }
        trailer_ = std::move(trailer);
      }
    } else if (isDigit(line[0])) {
      const int32_t num = scanObjectLine(line, pos);
      if (num >= 0) {
        currentObject = num;
      }
    } else if (std::strncmp(line, "endstream", 9) == 0) {
      streamEnds_.push_back(pos);
    }
    const std::string_view text(line);
    if (currentObject >= 0 &&
        (text.find("/XRef") != std::string_view::npos ||
         text.find("/Catalog") != std::string_view::npos) &&
        (candidates.empty() || candidates.back() != currentObject)) {
      candidates.push_back(currentObject);
    }
  }
  if (!haveRoot) {
    for (int32_t num : candidates) {
      const XRefEntry* e = entry(num);
      if (!e) {
        continue;
      }
      const CPDFObject obj = fetchObject(num, e->gen);
      const CPDFObject& dict = obj.isStream() ? obj.getStream()->getDict() : obj;
      if (dict.isDict("XRef") && dict.dictLookupRaw("Root").isRef()) {
        const CPDFObject root = dict.dictLookupRaw("Root");
        rootNum_ = root.getRefNum();
        rootGen_ = root.getRefGen();
        trailer_ = dict.copy();
        haveRoot = true;
      } else if (!haveRoot && dict.isDict("Catalog")) {
        // No trailer at all: a catalog found in the file serves as the root, and a trailer
        // holding only that root stands in for the lost one.
        rootNum_ = num;
        rootGen_ = e->gen;
        trailer_ = CPDFObject::makeDict(this);
        trailer_.getDict()->add("Root", CPDFObject::makeRef(num, e->gen));
        haveRoot = true;
      }
    }
  }
  if (!haveRoot) {
    reportError(-1, "Couldn't find trailer dictionary");
    return false;
  }
  return true;
}

}  // namespace qv
