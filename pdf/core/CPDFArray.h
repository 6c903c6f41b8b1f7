#pragma once

// A PDF array: an ordered list of values, shared by reference count (every CPDFObject of kind
// Array holding it is one reference). Elements stay as added; references among them are
// resolved on each get() through the table the array was made with (borrowed: the document
// that owns the table outlives what it reads). Used by one thread at a time, with its
// document.
//
// Index access is range-checked: an index outside the array reads as null, so callers that
// take an index from file data cannot read out of bounds.

#include <optional>
#include <string>
#include <vector>

#include "pdf/core/CPDFObject.h"

namespace qv {

class CPDFArray : public RefCounted {
 public:
  explicit CPDFArray(CPDFObjectResolver* xref = nullptr) : xref_(xref) {}

  void add(CPDFObject value);
  int count() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }

  // Element i resolved through the array's table; null outside 0..count-1.
  CPDFObject get(int i) const;
  // Element i as stored (references unresolved); null outside the range.
  CPDFObject getRaw(int i) const;
  // The stored element without copying; the shared null value outside the range.
  const CPDFObject& at(int i) const;

  // Typed, forgiving getters: element i resolved once; `fallback` when it is absent or of
  // another kind. getNum accepts integers and reals.
  int32_t getInt(int i, int32_t fallback) const;
  double getNum(int i, double fallback) const;
  bool getBool(int i, bool fallback) const;
  std::optional<std::string> getName(int i) const;
  std::optional<CPDFString> getString(int i) const;
  RefPtr<CPDFArray> getArray(int i) const;
  RefPtr<CPDFDict> getDict(int i) const;
  RefPtr<CPDFStream> getStream(int i) const;

  CPDFObjectResolver* resolver() const { return xref_; }
  void setResolver(CPDFObjectResolver* xref) { xref_ = xref; }

 private:
  CPDFObjectResolver* xref_;
  std::vector<CPDFObject> items_;
};

}  // namespace qv
