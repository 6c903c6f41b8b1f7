#include "pdf/core/CPDFParser.h"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/FilterStream.h"
#include "pdf/core/Limits.h"

namespace qv::test {
namespace {

struct ParseCase {
  const char* name;
  std::string input;
  std::vector<std::string> objects;
  std::vector<std::string> errors;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

class ParserTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParserTable, ObjectsAndReports) {
  const ParseCase& c = GetParam();
  ErrorLog log;
  EXPECT_EQ(parseAll(c.input), c.objects);
  std::vector<std::string> errors;
  for (const auto& e : log.entries()) {
    errors.push_back(e.message);
  }
  EXPECT_EQ(errors, c.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, ParserTable,
    ::testing::Values(
        ParseCase{"Empty", "", {}, {}}, ParseCase{"Reference", "12 0 R", {"ref:12 0 R"}, {}},
        ParseCase{"IntegersWithoutR", "12 0 obj", {"integer:12", "integer:0", "cmd:obj"}, {}},
        ParseCase{"IntegerThenRealIsNoRef", "1 2.0 R", {"integer:1", "real:2", "cmd:R"}, {}},
        ParseCase{"Array", "[1 /A (s) [2 3 0 R] true]", {"array:[1 /A (s) [2 3 0 R] true]"}, {}},
        ParseCase{"Dictionary",
                  "<< /A 1 /B [2] /C << /D 4 0 R >> >>",
                  {"dictionary:<< /A 1 /B [2] /C << /D 4 0 R >> >>"},
                  {}},
        ParseCase{"DictionaryKeyNotName",
                  "<< 1 /A 2 >>",
                  {"dictionary:<< /A 2 >>"},
                  {"Dictionary key must be a name object"}},
        ParseCase{"DictionaryValueIsError",
                  "<< /A ) /B 2 >>",
                  {"dictionary:<< >>", "name:/B", "integer:2", "cmd:>>"},
                  {"Illegal character ')'"}},
        ParseCase{"EofInArray", "[1 2", {"array:[1 2]"}, {"End of file inside array"}},
        ParseCase{"EofInDictionary",
                  "<< /A 1",
                  {"dictionary:<< /A 1 >>"},
                  {"End of file inside dictionary"}},
        ParseCase{
            "DanglingKeyAtEof", "<< /A", {"dictionary:<< >>"}, {"End of file inside dictionary"}},
        ParseCase{"StreamOnlyAtTopLevel",
                  "[<< /Length 1 >> stream\nx\nendstream]",
                  {"array:[<< /Length 1 >> stream x endstream]"},
                  {"Stream object inside another object"}},
        ParseCase{"ImageDataMarkerInsideDictionary",
                  "<< ID \x01 /B 2 >> Q",
                  {"dictionary:<< /B 2 >>", "cmd:Q"},
                  {"Dictionary key must be a name object", "Dictionary key must be a name object",
                   "Dictionary key must be a name object"}},
        ParseCase{"StrayClosers",
                  "] >> {",
                  {"cmd:]", "cmd:>>", "error:<error>"},
                  {"Illegal character '{'"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFParser, RepeatedKeyFindsFirst) {
  auto parser = parserFor("<< /A 1 /A 2 >>");
  CPDFObject dict = parser->parseObject();
  ASSERT_TRUE(dict.isDict());
  EXPECT_EQ(dict.getDict()->count(), 2);
  EXPECT_EQ(dict.getDict()->lookupInt("A", 0), 1);
}

// Beyond kMaxNestingDepth an opening bracket becomes an error value; the parse still ends
// and everything is consumed.
TEST(CPDFParserLimits, NestingDepthBound) {
  for (int depth : {kMaxNestingDepth, kMaxNestingDepth + 1, 100000}) {
    ErrorLog log;
    const std::string text = std::string(static_cast<size_t>(depth), '[') + "1" +
                             std::string(static_cast<size_t>(depth), ']') + " 5";
    auto parser = parserFor(text);
    CPDFObject obj = parser->parseObject();
    EXPECT_TRUE(obj.isArray());
    const bool tooDeep = depth > kMaxNestingDepth;
    EXPECT_EQ(log.count("Too many nested arrays or dictionaries") > 0, tooDeep) << depth;
    // Everything up to the trailing integer is consumed by this and later objects.
    CPDFObject last;
    for (CPDFObject o = parser->parseObject(); !o.isEof(); o = parser->parseObject()) {
      last = std::move(o);
    }
    if (!tooDeep) {
      EXPECT_TRUE(last.isInt());
    }
  }
  ErrorLog log;
  std::string dicts;
  for (int i = 0; i < 100000; ++i) {
    dicts += "<</A ";
  }
  auto parser = parserFor(dicts);
  parser->parseObject();  // no stack exhaustion on nested dictionaries either
  EXPECT_GT(log.count("Too many nested arrays or dictionaries"), 0u);
}

// --- streams ---

std::string objectText(const std::string& dict, const std::string& data,
                       const std::string& after = "\nendstream\nendobj\n") {
  return "1 0 obj\n<< " + dict + " >>\nstream\n" + data + after;
}

struct StreamCase {
  const char* name;
  std::string file;
  std::string data;  // expected bytes; ignored when the result is an error
  bool error;
  std::vector<std::string> errors;
};

void PrintTo(const StreamCase& c, std::ostream* os) {
  *os << c.name;
}

class StreamTable : public ::testing::TestWithParam<StreamCase> {};

TEST_P(StreamTable, StreamData) {
  const StreamCase& c = GetParam();
  MemoryResolver xref(c.file + "2 0 obj\n5\nendobj\n");
  ErrorLog log;
  CPDFObject obj = xref.fetchObject(1, 0);
  std::vector<std::string> errors;
  for (const auto& e : log.entries()) {
    errors.push_back(e.message);
  }
  EXPECT_EQ(errors, c.errors);
  if (c.error) {
    EXPECT_TRUE(obj.isNull() || obj.isError()) << obj.typeName();
    return;
  }
  ASSERT_TRUE(obj.isStream());
  CPDFStream* s = obj.getStream();
  s->reset();
  EXPECT_EQ(s->readAll(1000), c.data);
  s->close();
  EXPECT_TRUE(s->getDict().isDict());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, StreamTable,
    ::testing::Values(
        StreamCase{"ExactLength", objectText("/Length 5", "hello"), "hello", false, {}},
        StreamCase{"CrLfAfterKeyword",
                   "1 0 obj\n<< /Length 3 >>stream\r\nabc\r\nendstream\nendobj\n",
                   "abc",
                   false,
                   {}},
        StreamCase{"IndirectLength", objectText("/Length 2 0 R", "hello"), "hello", false, {}},
        StreamCase{"MissingEndstream",
                   objectText("/Length 10", "0123456789", "xxx endobj\n"),
                   "0123456789",
                   false,
                   {"Missing 'endstream'"}},
        StreamCase{"LengthTooShort",
                   objectText("/Length 2", "hello"),
                   "he",
                   false,
                   {"Missing 'endstream'"}},
        StreamCase{"LengthNotInteger",
                   objectText("/Length /X", "hello"),
                   "",
                   true,
                   {"Bad 'Length' attribute in stream"}},
        StreamCase{"LengthMissing",
                   objectText("", "hello"),
                   "",
                   true,
                   {"Bad 'Length' attribute in stream"}},
        StreamCase{"LengthNegative",
                   objectText("/Length -1", "hello"),
                   "",
                   true,
                   {"Bad 'Length' attribute in stream"}},
        StreamCase{"LengthRefersToItself",
                   objectText("/Length 1 0 R", "hello"),
                   "",
                   true,
                   {"Bad 'Length' attribute in stream"}},
        StreamCase{"LengthBeyondFile",
                   objectText("/Length 100000", "hello"),
                   "hello\nendstream\nendobj\n2 0 obj\n5\nendobj\n",
                   false,
                   {"Missing 'endstream'"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFParserStreams, KnownStreamEndOverridesLength) {
  const std::string file = objectText("/Length 2", "hello");
  MemoryResolver xref(file);
  xref.streamEnds = {static_cast<int64_t>(file.find("\nendstream"))};
  CPDFObject obj = xref.fetchObject(1, 0);
  ASSERT_TRUE(obj.isStream());
  obj.getStream()->reset();
  EXPECT_EQ(obj.getStream()->readAll(100), "hello");
}

TEST(CPDFParserStreams, StreamInDecodedDataIsRefused) {
  // A "stream" keyword met while lexing anything but a file range has no file bytes to cut.
  auto inner = makeMemoryStream("<< /Length 1 >>\nstream\nx\nendstream");
  class PassThrough : public FilterStream {
   public:
    using FilterStream::FilterStream;
    StreamKind getKind() const override { return StreamKind::Empty; }

   protected:
    bool refill() override {
      const int c = input()->nextChar();
      if (c < 0) {
        return false;
      }
      byte_ = static_cast<uint8_t>(c);
      setOutput(&byte_, &byte_ + 1);
      return true;
    }
    void onReset() override { resetInput(); }

   private:
    uint8_t byte_ = 0;
  };
  ErrorLog log;
  CPDFParser parser(nullptr, std::make_unique<CPDFLexer>(
                                 nullptr, std::make_unique<PassThrough>(std::move(inner))));
  EXPECT_TRUE(parser.parseObject().isError());
  EXPECT_EQ(log.count("Stream object outside a file range"), 1u);
}

// Upper-cases its input: stands in for a decoding filter.
class UpperFilter : public FilterStream {
 public:
  using FilterStream::FilterStream;
  StreamKind getKind() const override { return StreamKind::ASCIIHex; }

 protected:
  bool refill() override {
    const int c = input()->nextChar();
    if (c < 0) {
      return false;
    }
    byte_ = static_cast<uint8_t>(std::toupper(c));
    setOutput(&byte_, &byte_ + 1);
    return true;
  }
  void onReset() override { resetInput(); }

 private:
  uint8_t byte_ = 0;
};

class UpperFactory : public CPDFFilterFactory {
 public:
  std::unique_ptr<CPDFStream> makeFilterChain(std::unique_ptr<CPDFStream> input,
                                              const CPDFDict& dict) const override {
    if (!dict.lookupName("Filter")) {
      return input;
    }
    return std::make_unique<UpperFilter>(std::move(input));
  }
};

// XORs each byte with the object number plus its index: a keystream that must restart on
// reset.
class XorDecryptor : public StreamDecryptor {
 public:
  explicit XorDecryptor(int key) : key_(key) {}
  void reset() override { index_ = 0; }
  void decrypt(uint8_t* data, size_t n) override {
    for (size_t i = 0; i < n; ++i) {
      data[i] = static_cast<uint8_t>(data[i] ^ (key_ + index_++));
    }
  }

 private:
  int key_;
  int index_ = 0;
};

class XorFactory : public DecryptorFactory {
 public:
  std::unique_ptr<StreamDecryptor> makeDecryptor(int32_t num, int32_t gen) const override {
    return std::make_unique<XorDecryptor>(num * 16 + gen);
  }
};

std::string xorBytes(std::string s, int key) {
  for (size_t i = 0; i < s.size(); ++i) {
    s[i] = static_cast<char>(s[i] ^ (key + static_cast<int>(i)));
  }
  return s;
}

TEST(CPDFParserStreams, FiltersAndDecryptionApplyToTheSource) {
  const std::string data = xorBytes("hello", 16);
  const std::string file = "1 0 obj\n<< /Filter /Up /Length 5 /S (" + xorBytes("ab", 16) +
                           ") /T [(" + xorBytes("c", 16) + ")] >>\nstream\n" + data +
                           "\nendstream\nendobj\n";
  MemoryResolver xref(file);
  UpperFactory filters;
  XorFactory decrypt;
  xref.filters = &filters;
  xref.decrypt = &decrypt;
  CPDFObject obj = xref.fetchObject(1, 0);
  ASSERT_TRUE(obj.isStream());
  CPDFStream* s = obj.getStream();
  EXPECT_EQ(s->getKind(), StreamKind::ASCIIHex);
  for (int pass = 0; pass < 2; ++pass) {  // reset restarts the key stream
    s->reset();
    EXPECT_EQ(s->readAll(100), "HELLO");
    s->close();
  }
  const CPDFDict* dict = obj.dictOrStreamDict();
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->lookupString("S").value_or(CPDFString()), std::string_view("ab"));
  EXPECT_EQ(dict->lookupArray("T")->getString(0).value_or(CPDFString()), std::string_view("c"));
}

TEST(CPDFParser, InlineImageDataIsLeftToTheCaller) {
  auto parser = parserFor("BI /W 2 /H 1 ID \x01>] EI Q");
  std::vector<std::string> seen;
  while (true) {
    CPDFObject obj = parser->parseObject();
    if (obj.isEof()) {
      break;
    }
    seen.push_back(describe(obj));
    if (obj.isCmd("ID")) {
      CPDFStream* s = parser->getStream();
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->nextChar(), 0x01);
      EXPECT_EQ(s->nextChar(), '>');
      EXPECT_EQ(s->nextChar(), ']');
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"cmd:BI", "name:/W", "integer:2", "name:/H",
                                            "integer:1", "cmd:ID", "cmd:EI", "cmd:Q"}));
}

}  // namespace
}  // namespace qv::test
