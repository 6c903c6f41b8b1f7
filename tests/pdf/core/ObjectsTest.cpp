#include <gtest/gtest.h>

#include <functional>

#include "CoreTestSupport.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFResolveGuard.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/Limits.h"

namespace qv::test {
namespace {

struct TextCase {
  std::string input;  // parsed
  ObjKind kind;
  const char* typeName;
  std::string printed;
};

class ObjectTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(ObjectTextTable, KindTypeNameAndPrint) {
  const TextCase& c = GetParam();
  auto parser = parserFor(c.input);
  CPDFObject obj = parser->parseObject();
  EXPECT_EQ(obj.kind(), c.kind);
  EXPECT_STREQ(obj.typeName(), c.typeName);
  EXPECT_EQ(obj.toText(), c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ObjectTextTable,
    ::testing::Values(TextCase{"true", ObjKind::Bool, "boolean", "true"},
                      TextCase{"-17", ObjKind::Int, "integer", "-17"},
                      TextCase{"2.5", ObjKind::Real, "real", "2.5"},
                      TextCase{"<00410a>", ObjKind::String, "string", std::string("(\0A\n)", 5)},
                      TextCase{"/Type", ObjKind::Name, "name", "/Type"},
                      TextCase{"null", ObjKind::Null, "null", "null"},
                      TextCase{"[1 [2] 3 0 R]", ObjKind::Array, "array", "[1 [2] 3 0 R]"},
                      TextCase{"<</A 1/B/C>>", ObjKind::Dict, "dictionary", "<< /A 1 /B /C >>"},
                      TextCase{"<<>>", ObjKind::Dict, "dictionary", "<< >>"},
                      TextCase{"4 0 R", ObjKind::Ref, "ref", "4 0 R"},
                      TextCase{"Tj", ObjKind::Cmd, "cmd", "Tj"},
                      TextCase{"}", ObjKind::Error, "error", "<error>"},
                      TextCase{"", ObjKind::Eof, "eof", "<EOF>"}));

TEST(CPDFObject, NoneStreamAndPrintToFile) {
  CPDFObject none;
  EXPECT_TRUE(none.isNone());
  EXPECT_EQ(none.toText(), "<none>");
  CPDFObject stream = CPDFObject::makeStream(RefPtr<CPDFStream>::adopt(makeMemoryStream("x")));
  EXPECT_EQ(stream.toText(), "<stream>");
  EXPECT_STREQ(stream.typeName(), "stream");

  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CPDFObject s = CPDFObject::makeString(std::string_view("a\0b", 3));
  s.print(f);
  std::rewind(f);
  char buf[8] = {};
  EXPECT_EQ(std::fread(buf, 1, sizeof buf, f), 5u);
  EXPECT_EQ(std::string(buf, 5), std::string("(a\0b)", 5));
  std::fclose(f);
}

TEST(CPDFObject, CopySharesContainersAndDuplicatesStrings) {
  CPDFObject dict = CPDFObject::makeDict(nullptr);
  CPDFObject other = dict.copy();
  EXPECT_EQ(dict.getDict(), other.getDict());
  EXPECT_EQ(dict.getDict()->refCount(), 2);
  other.getDict()->add("K", CPDFObject::makeInt(1));
  EXPECT_EQ(dict.getDict()->lookupInt("K", 0), 1);
  other.release();
  EXPECT_TRUE(other.isNone());
  EXPECT_EQ(dict.getDict()->refCount(), 1);

  CPDFObject str = CPDFObject::makeString(std::string_view("abc"));
  CPDFObject strCopy = str.copy();
  strCopy.mutableString()->append('d');
  EXPECT_EQ(str.getString(), std::string_view("abc"));

  CPDFObject moved = std::move(str);
  EXPECT_TRUE(str.isNone());  // NOLINT: moved-from values are None by design
  EXPECT_TRUE(moved.isString());
}

TEST(CPDFObject, WrongKindGettersAreNeutral) {
  CPDFObject name = CPDFObject::makeName("N");
  EXPECT_EQ(name.getInt(), 0);
  EXPECT_EQ(name.getNum(), 0.0);
  EXPECT_FALSE(name.getBool());
  EXPECT_TRUE(name.getString().empty());
  EXPECT_TRUE(name.getCmd().empty());
  EXPECT_EQ(name.getArray(), nullptr);
  EXPECT_EQ(name.getDict(), nullptr);
  EXPECT_EQ(name.getStream(), nullptr);
  EXPECT_EQ(name.getRef(), (CPDFRef{0, 0}));
  EXPECT_EQ(name.arrayCount(), 0);
  EXPECT_TRUE(name.arrayGet(0).isNull());
  EXPECT_TRUE(name.dictLookup("A").isNull());
  EXPECT_TRUE(CPDFObject::makeCmd("N").getName().empty());
  EXPECT_EQ(CPDFObject::makeInt(3).getNum(), 3.0);
}

// Dictionary: 1 0 obj is an array, 2 0 obj a dictionary, 3 0 obj a number.
const char* kObjects =
    "1 0 obj\n[7 2 0 R /X 3 0 R]\nendobj\n"
    "2 0 obj\n<< /Type /Page /Count 3 0 R /Real 2.5 /Name /N /S (s) /Kids [1 2] >>\nendobj\n"
    "3 0 obj\n42\nendobj\n";

TEST(CPDFContainers, ForgivingGettersResolveOnce) {
  MemoryResolver xref(kObjects);
  CPDFObject dictObj = xref.fetchObject(2, 0);
  ASSERT_TRUE(dictObj.isDict("Page"));
  const CPDFDict& d = *dictObj.getDict();
  EXPECT_TRUE(d.isOfType("Page"));
  EXPECT_EQ(d.lookupInt("Count", -1), 42);
  EXPECT_EQ(d.lookupInt("Real", -1), -1);
  EXPECT_EQ(d.lookupNum("Real", -1), 2.5);
  EXPECT_EQ(d.lookupNum("Count", -1), 42.0);
  EXPECT_EQ(d.lookupInt("Missing", 9), 9);
  EXPECT_TRUE(d.lookupBool("Name", true));
  EXPECT_EQ(d.lookupName("Name").value_or(""), "N");
  EXPECT_FALSE(d.lookupName("S").has_value());
  EXPECT_EQ(d.lookupString("S").value_or(CPDFString()), std::string_view("s"));
  EXPECT_EQ(d.lookupArray("Kids")->count(), 2);
  EXPECT_FALSE(d.lookupDict("Kids"));
  EXPECT_FALSE(d.lookupStream("Kids"));
  EXPECT_EQ(d.lookupRef("Count").value_or(CPDFRef{}), (CPDFRef{3, 0}));
  EXPECT_TRUE(d.lookupRaw("Count").isRef());
  EXPECT_TRUE(d.lookup("Missing").isNull());
  EXPECT_EQ(d.keyAt(0), "Type");
  EXPECT_EQ(d.keyAt(99), "");
  EXPECT_TRUE(d.valueAt(99).isNull());
  EXPECT_EQ(d.valueAt(1).getInt(), 42);
  EXPECT_TRUE(d.valueRawAt(1).isRef());

  CPDFObject arrObj = xref.fetchObject(1, 0);
  const CPDFArray& a = *arrObj.getArray();
  EXPECT_EQ(a.getInt(0, -1), 7);
  EXPECT_TRUE(a.getDict(1));
  EXPECT_TRUE(a.getRaw(1).isRef());
  EXPECT_EQ(a.getName(2).value_or(""), "X");
  EXPECT_EQ(a.getNum(3, 0), 42.0);
  for (int bad : {-1, 4, 1 << 30}) {  // out of range reads as null
    EXPECT_TRUE(a.get(bad).isNull());
    EXPECT_TRUE(a.getRaw(bad).isNull());
    EXPECT_EQ(a.getInt(bad, 5), 5);
  }
  EXPECT_TRUE(CPDFObject::makeRef(9, 0).resolve(&xref).isNull());   // absent object
  EXPECT_TRUE(CPDFObject::makeRef(3, 0).resolve(nullptr).isRef());  // no table: copied
}

TEST(CPDFResolveGuard, StopsLoopsAndDepth) {
  CPDFResolveSet set;
  {
    CPDFResolveGuard a(set, {1, 0});
    EXPECT_TRUE(a.entered());
    CPDFResolveGuard again(set, {1, 0});
    EXPECT_FALSE(again.entered());
    CPDFResolveGuard otherGen(set, {1, 1});
    EXPECT_TRUE(otherGen.entered());
    EXPECT_EQ(set.depth(), 2);
  }
  EXPECT_EQ(set.depth(), 0);

  std::vector<std::unique_ptr<CPDFResolveGuard>> chain;
  for (int i = 0; i < kMaxResolveDepth; ++i) {
    chain.push_back(std::make_unique<CPDFResolveGuard>(set, CPDFRef{i, 0}));
    EXPECT_TRUE(chain.back()->entered());
  }
  CPDFResolveGuard tooDeep(set, {kMaxResolveDepth, 0});
  EXPECT_FALSE(tooDeep.entered());
}

TEST(CPDFResolveGuard, LongLengthChainEndsAtTheDepthBound) {
  // Object i is a stream whose Length is object i+1, itself a stream...: every fetch nests
  // one more, and the chain must stop at kMaxResolveDepth rather than exhaust the stack.
  std::string file;
  for (int i = 1; i <= 3 * kMaxResolveDepth; ++i) {
    file += std::to_string(i) + " 0 obj\n<< /Length " + std::to_string(i + 1) +
            " 0 R >>\nstream\nx\nendstream\nendobj\n";
  }
  MemoryResolver xref(file);
  ErrorLog log;
  EXPECT_TRUE(xref.fetchObject(1, 0).isError());
  EXPECT_LE(xref.fetches, kMaxResolveDepth + 2);
}

struct StringCase {
  const char* name;
  std::function<CPDFString()> make;
  std::string expected;
};

void PrintTo(const StringCase& c, std::ostream* os) {
  *os << c.name;
}

class StringTable : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringTable, Operations) {
  EXPECT_EQ(GetParam().make().str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ops, StringTable,
    ::testing::Values(
        StringCase{"FromIntZero", [] { return CPDFString::fromInt(0); }, "0"},
        StringCase{"FromIntNegative", [] { return CPDFString::fromInt(-2147483647 - 1); },
                   "-2147483648"},
        StringCase{"AppendKinds",
                   [] {
                     CPDFString s("ab");
                     s.append('\0').append(CPDFString("c")).append("de").append("fgh", 2);
                     return s;
                   },
                   std::string("ab\0cdefg", 8)},
        StringCase{"InsertAndClamp",
                   [] {
                     CPDFString s("ace");
                     s.insert(1, 'b').insert(3, "d").insert(99, "!");
                     return s;
                   },
                   "abcde!"},
        StringCase{"EraseAndClamp",
                   [] {
                     CPDFString s("abcdef");
                     s.erase(1, 2).erase(2, 99).erase(50, 1);
                     return s;
                   },
                   "ad"},
        StringCase{"UpperLowerTouchLettersOnly",
                   [] {
                     CPDFString s(std::string_view("aB1-\xe9", 5));
                     CPDFString up = s;
                     up.toUpper();
                     s.toLower();
                     return up.append("|").append(s);
                   },
                   std::string("AB1-\xe9|ab1-\xe9")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv::test
