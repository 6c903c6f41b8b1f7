#include "pdf/core/CPDFLexer.h"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/Limits.h"

namespace qv::test {
namespace {

struct LexCase {
  const char* name;
  std::string input;
  std::vector<std::string> tokens;
  std::vector<std::string> errors;  // every report, in order
};

void PrintTo(const LexCase& c, std::ostream* os) {
  *os << c.name;
}

class LexerTable : public ::testing::TestWithParam<LexCase> {};

TEST_P(LexerTable, TokensAndReports) {
  const LexCase& c = GetParam();
  ErrorLog log;
  EXPECT_EQ(lexAll(c.input), c.tokens);
  std::vector<std::string> errors;
  for (const auto& e : log.entries()) {
    errors.push_back(e.message);
  }
  EXPECT_EQ(errors, c.errors);
}

const std::string kName127(127, 'n');

INSTANTIATE_TEST_SUITE_P(
    Tokens, LexerTable,
    ::testing::Values(
        LexCase{"Empty", "", {}, {}},
        LexCase{"OnlyWhitespaceAndComment", " \t\r\n\f% note\r", {}, {}},
        LexCase{"CommentEndsAtLineEnd", "%a b\n12%x\r13", {"integer:12", "integer:13"}, {}},
        LexCase{"Reference", "12 0 R", {"integer:12", "integer:0", "cmd:R"}, {}},
        LexCase{"Numbers",
                "-.5 .5 5. 1e5 . - +5 -7 0.25",
                {"real:-0.5", "real:0.5", "real:5", "integer:1", "cmd:e5", "real:0", "integer:0",
                 "cmd:+5", "integer:-7", "real:0.25"},
                {}},
        LexCase{"NumberStopsAtSecondDot", "1.2.3", {"real:1.2", "real:0.3"}, {}},
        LexCase{"IntegersBeyond32BitsBecomeReals",
                "2147483647 -2147483648 2147483648 99999999999 -99999999999",
                {"integer:2147483647", "integer:-2147483648", "real:2.14748e+09", "real:1e+11",
                 "real:-1e+11"},
                {}},
        LexCase{
            "Keywords",
            "true false null obj BT T* +5",
            {"boolean:true", "boolean:false", "null:null", "cmd:obj", "cmd:BT", "cmd:T*", "cmd:+5"},
            {}},
        LexCase{"Brackets", "[<<>>]", {"cmd:[", "cmd:<<", "cmd:>>", "cmd:]"}, {}},
        LexCase{"NestedParentheses", "(a(b)c)", {"string:(a(b)c)"}, {}},
        LexCase{"Escapes",
                "(\\n\\r\\t\\b\\f\\\\\\(\\)\\q)",
                {std::string("string:(\n\r\t\b\f\\()q)")},
                {}},
        LexCase{"OctalEscapes",
                "(\\101\\0053\\777\\7)",
                {std::string("string:(A\x05") + "3\xff\x07)"},
                {}},
        LexCase{"LineContinuation", "(a\\\nb\\\r\nc\\\rd)", {"string:(abcd)"}, {}},
        LexCase{"LineEndsKept", "(a\r\nb\rc)", {"string:(a\r\nb\rc)"}, {}},
        LexCase{"LongString",
                "(" + std::string(300, 'x') + ")",
                {"string:(" + std::string(300, 'x') + ")"},
                {}},
        LexCase{"UnterminatedString", "(abc", {"string:(abc)"}, {"Unterminated string"}},
        LexCase{"BackslashAtEnd", "(abc\\", {"string:(abc)"}, {"Unterminated string"}},
        LexCase{"HexStrings", "<414> <4 1> <>", {"string:(A@)", "string:(A)", "string:()"}, {}},
        LexCase{"HexBadDigit", "<4G>", {"string:(@)"}, {"Illegal character <47> in hex string"}},
        LexCase{"HexUnterminated", "<41", {"string:(A)"}, {"Unterminated hex string"}},
        LexCase{"Names", "/A#42 /A#G1 /#2f /", {"name:/AB", "name:/A#G1", "name://", "name:/"}, {}},
        LexCase{"NameBadSecondHexDigit",
                "/A#4G1",
                {"name:/A@1"},
                {"Illegal digit in hex char in name"}},
        LexCase{
            "NameEndsAtDelimiter", "/Type/Page(x)", {"name:/Type", "name:/Page", "string:(x)"}, {}},
        LexCase{"NameBound",
                "/" + kName127 + "xyz",
                {"name:/" + kName127, "cmd:yz"},
                {"Name token too long"}},
        LexCase{"CommandBound",
                kName127 + "xyz",
                {"cmd:" + kName127, "cmd:yz"},
                {"Command token too long"}},
        LexCase{"IllegalCharacters",
                "{ } ) >",
                {"error:<error>", "error:<error>", "error:<error>", "error:<error>"},
                {"Illegal character '{'", "Illegal character '}'", "Illegal character ')'",
                 "Illegal character '>'"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CPDFLexer, ContentArrayReadsAsOneSequence) {
  CPDFObject streams = CPDFObject::makeArray(nullptr);
  streams.getArray()->add(
      CPDFObject::makeStream(RefPtr<CPDFStream>::adopt(makeMemoryStream("BT /F1"))));
  streams.getArray()->add(CPDFObject::makeInt(7));  // not a stream: skipped with a report
  streams.getArray()->add(
      CPDFObject::makeStream(RefPtr<CPDFStream>::adopt(makeMemoryStream(" 12 Tf"))));
  ErrorLog log;
  CPDFLexer lexer(nullptr, streams);
  std::vector<std::string> tokens;
  for (CPDFObject obj = lexer.nextObject(); !obj.isEof(); obj = lexer.nextObject()) {
    tokens.push_back(describe(obj));
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{"cmd:BT", "name:/F1", "integer:12", "cmd:Tf"}));
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(lexer.getStream(), nullptr);
  EXPECT_EQ(lexer.getPos(), -1);
}

TEST(CPDFLexer, SkipToNextLineHandlesEveryLineEnd) {
  CPDFLexer lexer(nullptr, makeMemoryStream("a\r\nb\rc\nd"));
  std::string firsts;
  for (int i = 0; i < 4; ++i) {
    firsts.push_back(static_cast<char>(lexer.nextByte()));
    lexer.skipToNextLine();
  }
  EXPECT_EQ(firsts, "abcd");
  EXPECT_EQ(lexer.nextByte(), -1);
}

// Strings past kMaxStringLength keep their first kMaxStringLength bytes, the rest is dropped
// and the lexer stays in step with the input.
TEST(CPDFLexerLimits, StringLengthBound) {
  for (char open : {'(', '<'}) {
    ErrorLog log;
    const std::string close = open == '(' ? ")" : ">";
    const size_t count = (open == '(' ? kMaxStringLength : 2 * kMaxStringLength) + 10;
    CPDFLexer lexer(
        nullptr, std::make_unique<GeneratedStream>(std::string(1, open), '4', count, close + " 7"));
    CPDFObject s = lexer.nextObject();
    ASSERT_TRUE(s.isString());
    EXPECT_EQ(s.getString().size(), kMaxStringLength);
    EXPECT_EQ(log.count("String too long"), 1u);
    CPDFObject after = lexer.nextObject();
    EXPECT_TRUE(after.isInt());
    EXPECT_EQ(after.getInt(), 7);
  }
}

}  // namespace
}  // namespace qv::test
