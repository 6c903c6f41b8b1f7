#pragma once

// The engine's tagged value: every engine part exchanges PDF data as CPDFObject. A small
// move-only value: numbers, booleans and references live inline; strings, names and commands
// are owned; arrays, dictionaries and streams are shared through reference counts (RefPtr),
// so copy() is cheap for them. The copy constructor is deleted so every copy is visible as
// copy(). A default-constructed or moved-from value has kind None.
//
// Getters are forgiving: asking a value for a payload of another kind gives a neutral answer
// (0, false, an empty string, a null pointer), never undefined behaviour, since the kinds
// come from file data.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

#include "pdf/core/CPDFString.h"
#include "pdf/core/RefCounted.h"

namespace qv {

class CPDFArray;
class CPDFDict;
class CPDFStream;
class CPDFObjectResolver;

enum class ObjKind : int32_t {
  Bool = 0,
  Int = 1,
  Real = 2,
  String = 3,
  Name = 4,
  Null = 5,
  Array = 6,
  Dict = 7,
  Stream = 8,
  Ref = 9,
  Cmd = 10,
  Error = 11,
  Eof = 12,
  None = 13,
};
static_assert(static_cast<int32_t>(ObjKind::Bool) == 0);
static_assert(static_cast<int32_t>(ObjKind::Int) == 1);
static_assert(static_cast<int32_t>(ObjKind::Real) == 2);
static_assert(static_cast<int32_t>(ObjKind::String) == 3);
static_assert(static_cast<int32_t>(ObjKind::Name) == 4);
static_assert(static_cast<int32_t>(ObjKind::Null) == 5);
static_assert(static_cast<int32_t>(ObjKind::Array) == 6);
static_assert(static_cast<int32_t>(ObjKind::Dict) == 7);
static_assert(static_cast<int32_t>(ObjKind::Stream) == 8);
static_assert(static_cast<int32_t>(ObjKind::Ref) == 9);
static_assert(static_cast<int32_t>(ObjKind::Cmd) == 10);
static_assert(static_cast<int32_t>(ObjKind::Error) == 11);
static_assert(static_cast<int32_t>(ObjKind::Eof) == 12);
static_assert(static_cast<int32_t>(ObjKind::None) == 13);

// An indirect reference: object number and generation.
struct CPDFRef {
  int32_t num = 0;
  int32_t gen = 0;
  friend bool operator==(const CPDFRef&, const CPDFRef&) = default;
};

class CPDFObject {
 public:
  CPDFObject() = default;  // kind None
  CPDFObject(CPDFObject&& other) noexcept;
  CPDFObject& operator=(CPDFObject&& other) noexcept;
  CPDFObject(const CPDFObject&) = delete;
  CPDFObject& operator=(const CPDFObject&) = delete;
  ~CPDFObject();

  static CPDFObject makeBool(bool value);
  static CPDFObject makeInt(int32_t value);
  static CPDFObject makeReal(double value);
  static CPDFObject makeString(CPDFString value);
  static CPDFObject makeString(std::string_view bytes);
  static CPDFObject makeName(std::string_view name);  // without the slash
  static CPDFObject makeNull();
  // A new empty container whose references resolve through `xref` (may be null).
  static CPDFObject makeArray(CPDFObjectResolver* xref);
  static CPDFObject makeDict(CPDFObjectResolver* xref);
  // Values sharing an existing container or stream (a null pointer gives a null value).
  static CPDFObject makeArray(RefPtr<CPDFArray> array);
  static CPDFObject makeDict(RefPtr<CPDFDict> dict);
  static CPDFObject makeStream(RefPtr<CPDFStream> stream);
  static CPDFObject makeRef(int32_t num, int32_t gen);
  static CPDFObject makeCmd(std::string_view cmd);
  static CPDFObject makeError();
  static CPDFObject makeEof();

  // A shared null value, for getters that return a reference.
  static const CPDFObject& nullObject();

  // Same kind and payload; strings, names and commands are duplicated, containers and
  // streams shared.
  CPDFObject copy() const;
  // A ref fetched through `xref` (null when absent or unreachable); anything else, or a ref
  // without a table, is copied.
  CPDFObject resolve(CPDFObjectResolver* xref) const;
  // Back to kind None, dropping the payload (and one reference of a shared container).
  void release();

  ObjKind kind() const { return kind_; }
  // "boolean", "integer", ... as error messages print them.
  const char* typeName() const;
  static const char* typeName(ObjKind kind);

  bool isBool() const { return kind_ == ObjKind::Bool; }
  bool isInt() const { return kind_ == ObjKind::Int; }
  bool isReal() const { return kind_ == ObjKind::Real; }
  bool isNum() const { return isInt() || isReal(); }
  bool isString() const { return kind_ == ObjKind::String; }
  bool isName() const { return kind_ == ObjKind::Name; }
  bool isName(std::string_view name) const;
  bool isNull() const { return kind_ == ObjKind::Null; }
  bool isArray() const { return kind_ == ObjKind::Array; }
  bool isDict() const { return kind_ == ObjKind::Dict; }
  // A dictionary whose "Type" entry is the name `type`.
  bool isDict(std::string_view type) const;
  bool isStream() const { return kind_ == ObjKind::Stream; }
  bool isRef() const { return kind_ == ObjKind::Ref; }
  bool isCmd() const { return kind_ == ObjKind::Cmd; }
  bool isCmd(std::string_view cmd) const;
  bool isError() const { return kind_ == ObjKind::Error; }
  bool isEof() const { return kind_ == ObjKind::Eof; }
  bool isNone() const { return kind_ == ObjKind::None; }

  bool getBool() const;
  int32_t getInt() const;
  double getReal() const;
  // An integer or a real as a double; 0 for anything else.
  double getNum() const;
  const CPDFString& getString() const;  // empty unless a string
  const std::string& getName() const;   // empty unless a name
  const std::string& getCmd() const;    // empty unless a cmd
  CPDFRef getRef() const;               // {0, 0} unless a ref
  int32_t getRefNum() const { return getRef().num; }
  int32_t getRefGen() const { return getRef().gen; }
  // The shared payloads; null unless the value has that kind.
  CPDFArray* getArray() const;
  CPDFDict* getDict() const;
  CPDFStream* getStream() const;
  RefPtr<CPDFArray> arrayRef() const;
  RefPtr<CPDFDict> dictRef() const;
  RefPtr<CPDFStream> streamRef() const;
  // The string payload for in-place changes (decryption); null unless a string.
  CPDFString* mutableString();

  // Forwards to the containers; neutral answers for other kinds.
  int arrayCount() const;
  CPDFObject arrayGet(int i) const;
  CPDFObject arrayGetRaw(int i) const;
  int dictCount() const;
  CPDFObject dictLookup(std::string_view key) const;
  CPDFObject dictLookupRaw(std::string_view key) const;
  // For a dictionary, its own; for a stream, the stream's dictionary.
  const CPDFDict* dictOrStreamDict() const;

  // Writes the value as text ("true", "12", "(bytes)", "/Name", "[1 2]", "<< /K v >>",
  // "<stream>", "3 0 R", ...); container elements are not resolved.
  void print(std::FILE* out) const;
  std::string toText() const;
  void appendText(std::string& out) const;

 private:
  using Payload = std::variant<std::monostate, bool, int32_t, double, CPDFString, std::string,
                               RefPtr<CPDFArray>, RefPtr<CPDFDict>, RefPtr<CPDFStream>, CPDFRef>;

  CPDFObject(ObjKind kind, Payload payload);

  ObjKind kind_ = ObjKind::None;
  Payload payload_;
};

}  // namespace qv

#include "pdf/core/CPDFArray.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
