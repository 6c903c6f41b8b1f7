#include "pdf/core/CPDFArray.h"

namespace qv {

void CPDFArray::add(CPDFObject value) {
  items_.push_back(std::move(value));
}

const CPDFObject& CPDFArray::at(int i) const {
  if (i < 0 || i >= count()) {
    return CPDFObject::nullObject();
  }
  return items_[static_cast<size_t>(i)];
}

CPDFObject CPDFArray::get(int i) const {
  return at(i).resolve(xref_);
}

CPDFObject CPDFArray::getRaw(int i) const {
  return at(i).copy();
}

int32_t CPDFArray::getInt(int i, int32_t fallback) const {
  CPDFObject v = get(i);
  return v.isInt() ? v.getInt() : fallback;
}

double CPDFArray::getNum(int i, double fallback) const {
  CPDFObject v = get(i);
  return v.isNum() ? v.getNum() : fallback;
}

bool CPDFArray::getBool(int i, bool fallback) const {
  CPDFObject v = get(i);
  return v.isBool() ? v.getBool() : fallback;
}

std::optional<std::string> CPDFArray::getName(int i) const {
  CPDFObject v = get(i);
  if (!v.isName()) {
    return std::nullopt;
  }
  return v.getName();
}

std::optional<CPDFString> CPDFArray::getString(int i) const {
  CPDFObject v = get(i);
  if (!v.isString()) {
    return std::nullopt;
  }
  return v.getString();
}

RefPtr<CPDFArray> CPDFArray::getArray(int i) const {
  return get(i).arrayRef();
}

RefPtr<CPDFDict> CPDFArray::getDict(int i) const {
  return get(i).dictRef();
}

RefPtr<CPDFStream> CPDFArray::getStream(int i) const {
  return get(i).streamRef();
}

}  // namespace qv
