#pragma once

// A PDF dictionary: (key, value) entries in insertion order, shared by reference count like
// CPDFArray. add() appends and never replaces, so with a repeated key lookups find the first
// entry. Lookups are a linear scan, which suits the short dictionaries of PDF files; values
// are resolved through the table the dictionary was made with (borrowed). Used by one thread
// at a time, with its document.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/core/CPDFObject.h"

namespace qv {

class CPDFDict : public RefCounted {
 public:
  explicit CPDFDict(CPDFObjectResolver* xref = nullptr) : xref_(xref) {}

  void add(std::string key, CPDFObject value);
  int count() const { return static_cast<int>(entries_.size()); }

  // The first entry with this key (compared byte for byte), resolved; null when absent.
  CPDFObject lookup(std::string_view key) const;
  // The same without resolving.
  CPDFObject lookupRaw(std::string_view key) const;
  // The stored value without copying; null pointer when absent.
  const CPDFObject* find(std::string_view key) const;
  bool has(std::string_view key) const { return find(key) != nullptr; }

  // Entry i (0 <= i < count); an empty key and null value outside the range.
  const std::string& keyAt(int i) const;
  CPDFObject valueAt(int i) const;
  CPDFObject valueRawAt(int i) const;

  // True when the first "Type" entry (not resolved) is the name `type`.
  bool isOfType(std::string_view type) const;

  // Typed, forgiving getters: the value resolved once; `fallback` (or nothing) when absent
  // or of another kind. lookupNum accepts integers and reals.
  int32_t lookupInt(std::string_view key, int32_t fallback) const;
  double lookupNum(std::string_view key, double fallback) const;
  bool lookupBool(std::string_view key, bool fallback) const;
  std::optional<std::string> lookupName(std::string_view key) const;
  std::optional<CPDFString> lookupString(std::string_view key) const;
  RefPtr<CPDFArray> lookupArray(std::string_view key) const;
  RefPtr<CPDFDict> lookupDict(std::string_view key) const;
  RefPtr<CPDFStream> lookupStream(std::string_view key) const;
  // The reference stored under `key`, unresolved.
  std::optional<CPDFRef> lookupRef(std::string_view key) const;

  CPDFObjectResolver* resolver() const { return xref_; }
  void setResolver(CPDFObjectResolver* xref) { xref_ = xref; }

 private:
  CPDFObjectResolver* xref_;
  std::vector<std::pair<std::string, CPDFObject>> entries_;
};

}  // namespace qv
