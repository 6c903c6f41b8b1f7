#include "pdf/functions/CPDFFunction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FunctionTestUtil.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/functions/CPDFStitchingFunction.h"
#include "pdf/functions/FunctionLimits.h"

namespace qv {
namespace {

using test::makePdfStream;
using test::parsePdfObject;

double eval1(const CPDFFunction& f, double x, int output = 0) {
  double in[CPDFFunction::kMaxInputs] = {x};
  double out[CPDFFunction::kMaxOutputs] = {};
  f.transform(in, out);
  return out[output];
}

struct EvalCase {
  const char* name;
  std::string entries;  // dictionary entries
  std::string data;     // stream data, empty for a dictionary
  double x;
  double expected;
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const EvalCase& c, std::ostream* os) { *os << c.name; }

class FunctionEvalTest : public ::testing::TestWithParam<EvalCase> {};

TEST_P(FunctionEvalTest, MapsInput) {
  const EvalCase& c = GetParam();
  CPDFObject obj =
      c.data.empty() ? parsePdfObject("<< " + c.entries + " >>") : makePdfStream(c.entries, c.data);
  std::unique_ptr<CPDFFunction> f = CPDFFunction::parse(obj);
  ASSERT_TRUE(f) << c.name;
  EXPECT_NEAR(eval1(*f, c.x), c.expected, 1e-9) << c.name;
  // A copy evaluates alike.
  EXPECT_NEAR(eval1(*f->copy(), c.x), c.expected, 1e-9) << c.name;
}

const std::string kStitch =
    "/FunctionType 3 /Domain [0 1] /Bounds [0.5] /Encode [0 1 0 1] /Functions ["
    "<< /FunctionType 2 /Domain [0 1] /C0 [0] /C1 [1] /N 1 >>"
    "<< /FunctionType 2 /Domain [0 1] /C0 [10] /C1 [20] /N 1 >> ]";

INSTANTIATE_TEST_SUITE_P(
    Kinds, FunctionEvalTest,
    ::testing::Values(
        EvalCase{"exp square", "/FunctionType 2 /Domain [0 1] /C0 [0] /C1 [1] /N 2", "", 0.5, 0.25},
        EvalCase{"exp defaults", "/FunctionType 2 /Domain [0 1] /N 1", "", 0.3, 0.3},
        EvalCase{"exp clips domain", "/FunctionType 2 /Domain [0 1] /N 1", "", 7, 1},
        EvalCase{"exp range", "/FunctionType 2 /Domain [0 1] /C1 [4] /N 1 /Range [0 2]", "", 1, 2},
        EvalCase{"stitch first", kStitch, "", 0.25, 0.5},
        EvalCase{"stitch bound goes right", kStitch, "", 0.5, 10},
        EvalCase{"stitch second", kStitch, "", 0.75, 15},
        EvalCase{"sampled 8 bit",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2] "
                 "/BitsPerSample 8",
                 std::string("\x00\xff", 2), 0.25, 0.25},
        EvalCase{"sampled 4 bit",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [3] "
                 "/BitsPerSample 4",
                 std::string("\x0f\x00", 2), 0.75, 0.5},
        EvalCase{"sampled 16 bit decode",
                 "/FunctionType 0 /Domain [0 1] /Range [0 10] "
                 "/Size [2] /BitsPerSample 16 /Decode [0 10]",
                 std::string("\x00\x00\xff\xff", 4), 0.5, 5},
        EvalCase{"sampled 2-d",
                 "/FunctionType 0 /Domain [0 1 0 1] /Range [0 1] /Size [2 2] "
                 "/BitsPerSample 8",
                 std::string("\x00\xff\xff\xff", 4), 0.5, 0.5},
        EvalCase{"sampled short data",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [4] "
                 "/BitsPerSample 8",
                 std::string("\xff", 1), 1, 0},
        EvalCase{"calc mul", "/FunctionType 4 /Domain [0 10] /Range [0 10]", "{ 2 mul }", 3, 6},
        EvalCase{"calc clipped", "/FunctionType 4 /Domain [0 10] /Range [0 10]", "{ 100 mul }", 3,
                 10},
        EvalCase{"calc ifelse", "/FunctionType 4 /Domain [0 1] /Range [0 9]",
                 "{ 0.5 gt { 1 } { 2 } ifelse }", 0.7, 1},
        EvalCase{"calc nested if", "/FunctionType 4 /Domain [0 1] /Range [0 9]",
                 "{ dup 0.5 lt { pop 3 0.1 0.2 lt { 1 add } if } if }", 0.2, 4},
        EvalCase{"calc or booleans then if", "/FunctionType 4 /Domain [0 1] /Range [0 99]",
                 "{ pop 5 true false or { 2 mul } if }", 0, 10},
        EvalCase{"calc stack ops", "/FunctionType 4 /Domain [0 9] /Range [-99 99]",
                 "{ 1 2 3 3 1 roll exch sub 2 copy pop pop 0 index add }", 1, 2},
        EvalCase{"calc trig", "/FunctionType 4 /Domain [0 360] /Range [-2 2]", "{ sin }", 90, 1},
        EvalCase{"calc atan", "/FunctionType 4 /Domain [-1 1] /Range [0 360]", "{ 1 atan }", -1,
                 315},
        EvalCase{"calc round", "/FunctionType 4 /Domain [-9 9] /Range [-9 9]", "{ round }", -2.5,
                 -3},
        EvalCase{"calc idiv by zero", "/FunctionType 4 /Domain [-9 9] /Range [-9 9]",
                 "{ cvi 0 idiv }", 5, 0},
        EvalCase{"calc sqrt negative", "/FunctionType 4 /Domain [-9 9] /Range [-9 9]", "{ sqrt }",
                 -4, 0},
        EvalCase{"calc ln zero", "/FunctionType 4 /Domain [-9 9] /Range [-9 9]", "{ ln }", 0, 0}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) {
        if (!isalnum(static_cast<unsigned char>(ch)))
          ch = '_';
      }
      return name;
    });

TEST(CPDFFunctionTest, IdentityCopiesEightInputs) {
  std::unique_ptr<CPDFFunction> f = CPDFFunction::parse(CPDFObject::makeName("Identity"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->inputSize(), 8);
  EXPECT_EQ(f->outputSize(), 8);
  double in[8] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8};
  double out[8] = {};
  f->transform(in, out);
  EXPECT_EQ(std::vector<double>(out, out + 8), std::vector<double>(in, in + 8));
}

TEST(CPDFFunctionTest, CalculatorIntegerOperators) {
  struct Case {
    const char* code;
    double expected;
  } cases[] = {
      {"{ pop -8 -2 bitshift }", 1073741822.0},
      {"{ pop 1 3 bitshift }", 8},
      {"{ pop 7 2 mod }", 1},
      {"{ pop -7 2 idiv }", -3},
      {"{ pop 2147483647 1 add }", 2147483648.0},  // overflow turns real
      {"{ pop 12 10 and 1 or 3 xor }", 10},
      {"{ pop 3 2 gt 2 3 gt eq { 1 } { 2 } ifelse }", 2},
      {"{ pop 2.7 cvi }", 2},
      {"{ pop -3 abs neg }", -3},
  };
  for (const Case& c : cases) {
    CPDFObject obj =
        makePdfStream("/FunctionType 4 /Domain [0 1] /Range [-3000000000.0 3000000000.0]", c.code);
    std::unique_ptr<CPDFFunction> f = CPDFFunction::parse(obj);
    ASSERT_TRUE(f) << c.code;
    EXPECT_DOUBLE_EQ(eval1(*f, 0), c.expected) << c.code;
  }
}

TEST(CPDFFunctionTest, CalculatorStackErrorsReportAndCarryOn) {
  std::string pushes = "{ pop";
  for (int i = 0; i < 101; ++i)
    pushes += " 1";
  pushes += " }";
  ErrorLog log;
  auto f = CPDFFunction::parse(makePdfStream("/FunctionType 4 /Domain [0 1] /Range [0 5]", pushes));
  ASSERT_TRUE(f);
  EXPECT_EQ(eval1(*f, 0), 1);
  EXPECT_EQ(log.count("Stack overflow in PostScript function"), 1u);  // 100 fit

  log.clear();
  f = CPDFFunction::parse(
      makePdfStream("/FunctionType 4 /Domain [0 1] /Range [0 5]", "{ pop pop add }"));
  ASSERT_TRUE(f);
  EXPECT_EQ(eval1(*f, 0.5), 0);
  EXPECT_GE(log.count("Stack underflow in PostScript function"), 2u);

  log.clear();
  f = CPDFFunction::parse(
      makePdfStream("/FunctionType 4 /Domain [0 1] /Range [0 5]", "{ true add }"));
  ASSERT_TRUE(f);
  EXPECT_EQ(eval1(*f, 0.5), 0.5);
  EXPECT_EQ(log.count("Type mismatch in PostScript function"), 1u);
}

struct FailCase {
  const char* name;
  std::string entries;
  std::string data;  // a stream when not empty
  const char* message;
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

class FunctionFailTest : public ::testing::TestWithParam<FailCase> {};

TEST_P(FunctionFailTest, RefusedWithMessage) {
  const FailCase& c = GetParam();
  ErrorLog log;
  CPDFObject obj =
      c.data.empty() ? parsePdfObject("<< " + c.entries + " >>") : makePdfStream(c.entries, c.data);
  EXPECT_FALSE(CPDFFunction::parse(obj)) << c.name;
  EXPECT_EQ(log.count(c.message), 1u)
      << c.name << ": " << (log.empty() ? "" : log.entries()[0].message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FunctionFailTest,
    ::testing::Values(
        FailCase{"no type", "/Domain [0 1]", "", "Function type is missing or wrong type"},
        FailCase{"type 1", "/FunctionType 1 /Domain [0 1]", "", "Unimplemented function type (1)"},
        FailCase{"no domain", "/FunctionType 2 /N 1", "", "Function is missing domain"},
        FailCase{"nine inputs",
                 "/FunctionType 2 /N 1 /Domain [0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1 0 1]", "",
                 "Functions with more than 8 inputs are unsupported"},
        FailCase{"bad domain", "/FunctionType 2 /N 1 /Domain [0 /x]", "",
                 "Illegal value in function domain array"},
        FailCase{"bad range", "/FunctionType 2 /N 1 /Domain [0 1] /Range [0 (a)]", "",
                 "Illegal value in function range array"},
        FailCase{"exp two inputs", "/FunctionType 2 /N 1 /Domain [0 1 0 1]", "",
                 "Exponential function with more than one input"},
        FailCase{"exp bad C1", "/FunctionType 2 /N 1 /Domain [0 1] /C1 [/a]", "",
                 "Illegal value in function C1 array"},
        FailCase{"exp no N", "/FunctionType 2 /Domain [0 1]", "",
                 "Function has missing or invalid N"},
        FailCase{"sampled no range", "/FunctionType 0 /Domain [0 1] /Size [2] /BitsPerSample 8",
                 "ab", "Type 0 function is missing range"},
        FailCase{"sampled dict",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2] "
                 "/BitsPerSample 8",
                 "", "Type 0 function isn't a stream"},
        FailCase{"sampled size count",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2 2] "
                 "/BitsPerSample 8",
                 "ab", "Function has missing or invalid size array"},
        FailCase{"sampled size real",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2.5] "
                 "/BitsPerSample 8",
                 "ab", "Illegal value in function size array"},
        FailCase{"sampled size overflow",
                 "/FunctionType 0 /Domain [0 1 0 1 0 1 0 1] /Range [0 1] "
                 "/Size [2000000000 2000000000 2000000000 2000000000] /BitsPerSample 8",
                 "ab", "Sampled function has too many samples"},
        FailCase{"sampled bits 7",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2] "
                 "/BitsPerSample 7",
                 "ab", "Function has missing or invalid BitsPerSample"},
        FailCase{"sampled bad encode",
                 "/FunctionType 0 /Domain [0 1] /Range [0 1] /Size [2] "
                 "/BitsPerSample 8 /Encode [0 /a]",
                 "ab", "Illegal value in function encode array"},
        FailCase{"stitch no functions", "/FunctionType 3 /Domain [0 1] /Bounds [] /Encode [0 1]",
                 "", "Missing 'Functions' entry in stitching function"},
        FailCase{"stitch incompatible",
                 "/FunctionType 3 /Domain [0 1] /Bounds [0.5] "
                 "/Encode [0 1 0 1] /Functions [ << /FunctionType 2 /Domain [0 1] /N 1 >> "
                 "<< /FunctionType 2 /Domain [0 1] /C0 [0 0] /C1 [1 1] /N 1 >> ]",
                 "", "Incompatible subfunctions in stitching function"},
        FailCase{"stitch bounds",
                 "/FunctionType 3 /Domain [0 1] /Encode [0 1] "
                 "/Functions [ << /FunctionType 2 /Domain [0 1] /N 1 >> ] /Bounds [1]",
                 "", "Missing or invalid 'Bounds' entry in stitching function"},
        FailCase{"stitch encode",
                 "/FunctionType 3 /Domain [0 1] /Bounds [] /Encode [0 /a] "
                 "/Functions [ << /FunctionType 2 /Domain [0 1] /N 1 >> ]",
                 "", "Invalid type in 'Encode' array in stitching function"},
        FailCase{"calc no brace", "/FunctionType 4 /Domain [0 1] /Range [0 1]", "2 mul",
                 "Expected '{' at start of PostScript function"},
        FailCase{"calc unknown op", "/FunctionType 4 /Domain [0 1] /Range [0 1]", "{ 2 foo }",
                 "Unknown operator 'foo' in PostScript function"},
        FailCase{"calc if two blocks", "/FunctionType 4 /Domain [0 1] /Range [0 1]",
                 "{ true { 1 } { 2 } if }",
                 "Got 'if' operator with two blocks in PostScript function"},
        FailCase{"calc ifelse one block", "/FunctionType 4 /Domain [0 1] /Range [0 1]",
                 "{ true { 1 } ifelse }",
                 "Got 'ifelse' operator with one blocks in PostScript function"},
        FailCase{"calc no if", "/FunctionType 4 /Domain [0 1] /Range [0 1]", "{ true { 1 } add }",
                 "Expected if/ifelse operator in PostScript function"},
        FailCase{"calc unterminated", "/FunctionType 4 /Domain [0 1] /Range [0 1]", "{ 1 add",
                 "Unexpected end of PostScript function stream"},
        FailCase{"calc no range", "/FunctionType 4 /Domain [0 1]", "{ }",
                 "Type 4 function is missing range"}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) {
        if (!isalnum(static_cast<unsigned char>(ch)))
          ch = '_';
      }
      return name;
    });

TEST(CPDFFunctionTest, NotAFunctionObject) {
  ErrorLog log;
  EXPECT_FALSE(CPDFFunction::parse(CPDFObject::makeName("Other")));
  EXPECT_FALSE(CPDFFunction::parse(CPDFObject::makeInt(3)));
  EXPECT_EQ(log.count("Expected function dictionary or stream"), 2u);
}

TEST(CPDFFunctionTest, BoundsOnHostileFunctions) {
  // Calculator blocks nested deeper than the bound.
  std::string deep = "{ ";
  for (int i = 0; i < kMaxCalculatorBlockDepth + 1; ++i)
    deep += "true { ";
  for (int i = 0; i < kMaxCalculatorBlockDepth + 1; ++i)
    deep += "} if ";
  deep += "}";
  EXPECT_FALSE(
      CPDFFunction::parse(makePdfStream("/FunctionType 4 /Domain [0 1] /Range [0 1]", deep)));

  // Stitching nested beyond the depth bound.
  std::string leaf = "<< /FunctionType 2 /Domain [0 1] /N 1 >>";
  std::string nested = leaf;
  for (int i = 0; i < kMaxFunctionDepth + 1; ++i) {
    nested =
        "<< /FunctionType 3 /Domain [0 1] /Bounds [] /Encode [0 1] /Functions [" + nested + "] >>";
  }
  EXPECT_FALSE(CPDFFunction::parse(parsePdfObject(nested)));
  std::string shallow = leaf;
  for (int i = 0; i < 4; ++i) {
    shallow =
        "<< /FunctionType 3 /Domain [0 1] /Bounds [] /Encode [0 1] /Functions [" + shallow + "] >>";
  }
  auto f = CPDFFunction::parse(parsePdfObject(shallow));
  ASSERT_TRUE(f);
  EXPECT_NEAR(eval1(*f, 0.4), 0.4, 1e-12);
}

}  // namespace
}  // namespace qv
