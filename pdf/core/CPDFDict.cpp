#include "pdf/core/CPDFDict.h"

namespace qv {

namespace {

const std::string kNoKey;

}  // namespace

void CPDFDict::add(std::string key, CPDFObject value) {
  entries_.emplace_back(std::move(key), std::move(value));
}

const CPDFObject* CPDFDict::find(std::string_view key) const {
  for (const auto& [k, v] : entries_) {
    if (k == key) {
      return &v;
    }
  }
  return nullptr;
}

CPDFObject CPDFDict::lookup(std::string_view key) const {
  const CPDFObject* v = find(key);
  return v != nullptr ? v->resolve(xref_) : CPDFObject::makeNull();
}

CPDFObject CPDFDict::lookupRaw(std::string_view key) const {
  const CPDFObject* v = find(key);
  return v != nullptr ? v->copy() : CPDFObject::makeNull();
}

const std::string& CPDFDict::keyAt(int i) const {
  if (i < 0 || i >= count()) {
    return kNoKey;
  }
  return entries_[static_cast<size_t>(i)].first;
}

CPDFObject CPDFDict::valueAt(int i) const {
  if (i < 0 || i >= count()) {
    return CPDFObject::makeNull();
  }
  return entries_[static_cast<size_t>(i)].second.resolve(xref_);
}

CPDFObject CPDFDict::valueRawAt(int i) const {
  if (i < 0 || i >= count()) {
    return CPDFObject::makeNull();
  }
  return entries_[static_cast<size_t>(i)].second.copy();
}

bool CPDFDict::isOfType(std::string_view type) const {
  const CPDFObject* v = find("Type");
  return v != nullptr && v->isName(type);
}

int32_t CPDFDict::lookupInt(std::string_view key, int32_t fallback) const {
  CPDFObject v = lookup(key);
  return v.isInt() ? v.getInt() : fallback;
}

double CPDFDict::lookupNum(std::string_view key, double fallback) const {
  CPDFObject v = lookup(key);
  return v.isNum() ? v.getNum() : fallback;
}

bool CPDFDict::lookupBool(std::string_view key, bool fallback) const {
  CPDFObject v = lookup(key);
  return v.isBool() ? v.getBool() : fallback;
}

std::optional<std::string> CPDFDict::lookupName(std::string_view key) const {
  CPDFObject v = lookup(key);
  if (!v.isName()) {
    return std::nullopt;
  }
  return v.getName();
}

std::optional<CPDFString> CPDFDict::lookupString(std::string_view key) const {
  CPDFObject v = lookup(key);
  if (!v.isString()) {
    return std::nullopt;
  }
  return v.getString();
}

RefPtr<CPDFArray> CPDFDict::lookupArray(std::string_view key) const {
  return lookup(key).arrayRef();
}

RefPtr<CPDFDict> CPDFDict::lookupDict(std::string_view key) const {
  return lookup(key).dictRef();
}

RefPtr<CPDFStream> CPDFDict::lookupStream(std::string_view key) const {
  return lookup(key).streamRef();
}

std::optional<CPDFRef> CPDFDict::lookupRef(std::string_view key) const {
  const CPDFObject* v = find(key);
  if (v == nullptr || !v->isRef()) {
    return std::nullopt;
  }
  return v->getRef();
}

}  // namespace qv
