#include "pdf/core/CPDFObject.h"

#include <cstdio>

#include "pdf/core/CPDFObjectResolver.h"

namespace qv {

namespace {

const CPDFString kEmptyString;
const std::string kEmptyText;

}  // namespace

CPDFObject::CPDFObject(ObjKind kind, Payload payload) : kind_(kind), payload_(std::move(payload)) {}

CPDFObject::CPDFObject(CPDFObject&& other) noexcept
    : kind_(std::exchange(other.kind_, ObjKind::None)),
      payload_(std::exchange(other.payload_, std::monostate{})) {}

CPDFObject& CPDFObject::operator=(CPDFObject&& other) noexcept {
  if (this != &other) {
    kind_ = std::exchange(other.kind_, ObjKind::None);
    payload_ = std::exchange(other.payload_, std::monostate{});
  }
  return *this;
}

CPDFObject::~CPDFObject() = default;

CPDFObject CPDFObject::makeBool(bool value) {
  return {ObjKind::Bool, value};
}
CPDFObject CPDFObject::makeInt(int32_t value) {
  return {ObjKind::Int, value};
}
CPDFObject CPDFObject::makeReal(double value) {
  return {ObjKind::Real, value};
}
CPDFObject CPDFObject::makeString(CPDFString value) {
  return {ObjKind::String, std::move(value)};
}
CPDFObject CPDFObject::makeString(std::string_view bytes) {
  return {ObjKind::String, CPDFString(bytes)};
}
CPDFObject CPDFObject::makeName(std::string_view name) {
  return {ObjKind::Name, std::string(name)};
}
CPDFObject CPDFObject::makeNull() {
  return {ObjKind::Null, std::monostate{}};
}
CPDFObject CPDFObject::makeArray(CPDFObjectResolver* xref) {
  return {ObjKind::Array, qv::makeRef<CPDFArray>(xref)};
}
CPDFObject CPDFObject::makeDict(CPDFObjectResolver* xref) {
  return {ObjKind::Dict, qv::makeRef<CPDFDict>(xref)};
}
CPDFObject CPDFObject::makeArray(RefPtr<CPDFArray> array) {
  if (!array) {
    return makeNull();
  }
  return {ObjKind::Array, std::move(array)};
}
CPDFObject CPDFObject::makeDict(RefPtr<CPDFDict> dict) {
  if (!dict) {
    return makeNull();
  }
  return {ObjKind::Dict, std::move(dict)};
}
CPDFObject CPDFObject::makeStream(RefPtr<CPDFStream> stream) {
  if (!stream) {
    return makeNull();
  }
  return {ObjKind::Stream, std::move(stream)};
}
CPDFObject CPDFObject::makeRef(int32_t num, int32_t gen) {
  return {ObjKind::Ref, CPDFRef{num, gen}};
}
CPDFObject CPDFObject::makeCmd(std::string_view cmd) {
  return {ObjKind::Cmd, std::string(cmd)};
}
CPDFObject CPDFObject::makeError() {
  return {ObjKind::Error, std::monostate{}};
}
CPDFObject CPDFObject::makeEof() {
  return {ObjKind::Eof, std::monostate{}};
}

const CPDFObject& CPDFObject::nullObject() {
  static const CPDFObject kNull = makeNull();
  return kNull;
}

CPDFObject CPDFObject::copy() const {
  return CPDFObject(kind_, Payload(payload_));
}

CPDFObject CPDFObject::resolve(CPDFObjectResolver* xref) const {
  if (kind_ == ObjKind::Ref && xref != nullptr) {
    const CPDFRef ref = getRef();
    return xref->fetchObject(ref.num, ref.gen);
  }
  return copy();
}

void CPDFObject::release() {
  kind_ = ObjKind::None;
  payload_ = std::monostate{};
}

const char* CPDFObject::typeName(ObjKind kind) {
  switch (kind) {
    case ObjKind::Bool:
      return "boolean";
    case ObjKind::Int:
      return "integer";
    case ObjKind::Real:
      return "real";
    case ObjKind::String:
      return "string";
    case ObjKind::Name:
      return "name";
    case ObjKind::Null:
      return "null";
    case ObjKind::Array:
      return "array";
    case ObjKind::Dict:
      return "dictionary";
    case ObjKind::Stream:
      return "stream";
    case ObjKind::Ref:
      return "ref";
    case ObjKind::Cmd:
      return "cmd";
    case ObjKind::Error:
      return "error";
    case ObjKind::Eof:
      return "eof";
    case ObjKind::None:
      return "none";
  }
  return "none";
}

const char* CPDFObject::typeName() const {
  return typeName(kind_);
}

bool CPDFObject::isName(std::string_view name) const {
  return isName() && getName() == name;
}

bool CPDFObject::isCmd(std::string_view cmd) const {
  return isCmd() && getCmd() == cmd;
}

bool CPDFObject::isDict(std::string_view type) const {
  const CPDFDict* dict = getDict();
  return dict != nullptr && dict->isOfType(type);
}

bool CPDFObject::getBool() const {
  const bool* v = std::get_if<bool>(&payload_);
  return v != nullptr && *v;
}

int32_t CPDFObject::getInt() const {
  const int32_t* v = std::get_if<int32_t>(&payload_);
  return v != nullptr ? *v : 0;
}

double CPDFObject::getReal() const {
  const double* v = std::get_if<double>(&payload_);
  return v != nullptr ? *v : 0.0;
}

double CPDFObject::getNum() const {
  if (isInt()) {
    return getInt();
  }
  return getReal();
}

const CPDFString& CPDFObject::getString() const {
  const CPDFString* v = std::get_if<CPDFString>(&payload_);
  return v != nullptr ? *v : kEmptyString;
}

CPDFString* CPDFObject::mutableString() {
  return std::get_if<CPDFString>(&payload_);
}

const std::string& CPDFObject::getName() const {
  const std::string* v = std::get_if<std::string>(&payload_);
  return (v != nullptr && kind_ == ObjKind::Name) ? *v : kEmptyText;
}

const std::string& CPDFObject::getCmd() const {
  const std::string* v = std::get_if<std::string>(&payload_);
  return (v != nullptr && kind_ == ObjKind::Cmd) ? *v : kEmptyText;
}

CPDFRef CPDFObject::getRef() const {
  const CPDFRef* v = std::get_if<CPDFRef>(&payload_);
  return v != nullptr ? *v : CPDFRef{};
}

CPDFArray* CPDFObject::getArray() const {
  const auto* v = std::get_if<RefPtr<CPDFArray>>(&payload_);
  return v != nullptr ? v->get() : nullptr;
}

CPDFDict* CPDFObject::getDict() const {
  const auto* v = std::get_if<RefPtr<CPDFDict>>(&payload_);
  return v != nullptr ? v->get() : nullptr;
}

CPDFStream* CPDFObject::getStream() const {
  const auto* v = std::get_if<RefPtr<CPDFStream>>(&payload_);
  return v != nullptr ? v->get() : nullptr;
}

RefPtr<CPDFArray> CPDFObject::arrayRef() const {
  const auto* v = std::get_if<RefPtr<CPDFArray>>(&payload_);
  return v != nullptr ? *v : RefPtr<CPDFArray>();
}

RefPtr<CPDFDict> CPDFObject::dictRef() const {
  const auto* v = std::get_if<RefPtr<CPDFDict>>(&payload_);
  return v != nullptr ? *v : RefPtr<CPDFDict>();
}

RefPtr<CPDFStream> CPDFObject::streamRef() const {
  const auto* v = std::get_if<RefPtr<CPDFStream>>(&payload_);
  return v != nullptr ? *v : RefPtr<CPDFStream>();
}

int CPDFObject::arrayCount() const {
  const CPDFArray* a = getArray();
  return a != nullptr ? a->count() : 0;
}

CPDFObject CPDFObject::arrayGet(int i) const {
  const CPDFArray* a = getArray();
  return a != nullptr ? a->get(i) : makeNull();
}

CPDFObject CPDFObject::arrayGetRaw(int i) const {
  const CPDFArray* a = getArray();
  return a != nullptr ? a->getRaw(i) : makeNull();
}

int CPDFObject::dictCount() const {
  const CPDFDict* d = getDict();
  return d != nullptr ? d->count() : 0;
}

CPDFObject CPDFObject::dictLookup(std::string_view key) const {
  const CPDFDict* d = getDict();
  return d != nullptr ? d->lookup(key) : makeNull();
}

CPDFObject CPDFObject::dictLookupRaw(std::string_view key) const {
  const CPDFDict* d = getDict();
  return d != nullptr ? d->lookupRaw(key) : makeNull();
}

const CPDFDict* CPDFObject::dictOrStreamDict() const {
  if (const CPDFDict* d = getDict()) {
    return d;
  }
  if (CPDFStream* s = getStream()) {
    return s->getDict().getDict();
  }
  return nullptr;
}

void CPDFObject::appendText(std::string& out) const {
  char buf[64];
  switch (kind_) {
    case ObjKind::Bool:
      out += getBool() ? "true" : "false";
      break;
    case ObjKind::Int:
      std::snprintf(buf, sizeof buf, "%d", getInt());
      out += buf;
      break;
    case ObjKind::Real:
      std::snprintf(buf, sizeof buf, "%g", getReal());
      out += buf;
      break;
    case ObjKind::String:
      out += '(';
      out += getString().view();
      out += ')';
      break;
    case ObjKind::Name:
      out += '/';
      out += getName();
      break;
    case ObjKind::Null:
      out += "null";
      break;
    case ObjKind::Array: {
      out += '[';
      const CPDFArray* a = getArray();
      for (int i = 0; i < a->count(); ++i) {
        if (i > 0) {
          out += ' ';
        }
        a->at(i).appendText(out);
      }
      out += ']';
      break;
    }
    case ObjKind::Dict: {
      out += "<<";
      const CPDFDict* d = getDict();
      for (int i = 0; i < d->count(); ++i) {
        out += " /";
        out += d->keyAt(i);
        out += ' ';
        d->valueRawAt(i).appendText(out);
      }
      out += " >>";
      break;
    }
    case ObjKind::Stream:
      out += "<stream>";
      break;
    case ObjKind::Ref:
      std::snprintf(buf, sizeof buf, "%d %d R", getRef().num, getRef().gen);
      out += buf;
      break;
    case ObjKind::Cmd:
      out += getCmd();
      break;
    case ObjKind::Error:
      out += "<error>";
      break;
    case ObjKind::Eof:
      out += "<EOF>";
      break;
    case ObjKind::None:
      out += "<none>";
      break;
  }
}

std::string CPDFObject::toText() const {
  std::string out;
  appendText(out);
  return out;
}

void CPDFObject::print(std::FILE* out) const {
  const std::string text = toText();
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace qv
