#include "pdf/functions/CPDFPostScriptFunction.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/functions/CalculatorStack.h"
#include "pdf/functions/FunctionLimits.h"

namespace qv {

namespace {

// Sorted by name for binary search; the index is the operator number.
constexpr const char* kOperatorNames[] = {
    "abs",   "add", "and",  "atan",  "bitshift", "ceiling", "copy",  "cos",  "cvi",      "cvr",
    "div",   "dup", "eq",   "exch",  "exp",      "false",   "floor", "ge",   "gt",       "idiv",
    "index", "le",  "ln",   "log",   "lt",       "mod",     "mul",   "ne",   "neg",      "not",
    "or",    "pop", "roll", "round", "sin",      "sqrt",    "sub",   "true", "truncate", "xor",
};
static_assert(std::size(kOperatorNames) == CPDFPostScriptFunction::kXor + 1);

int findOperator(std::string_view name) {
  auto it = std::lower_bound(std::begin(kOperatorNames), std::end(kOperatorNames), name,
                             [](const char* a, std::string_view b) { return a < b; });
  if (it == std::end(kOperatorNames) || name != *it) {
    return -1;
  }
  return static_cast<int>(it - std::begin(kOperatorNames));
}

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// Integer results that do not fit turn into reals, as PostScript's arithmetic does.
void pushWide(CalculatorStack& stack, int64_t value) {
  if (value >= INT32_MIN && value <= INT32_MAX) {
    stack.pushInt(static_cast<int32_t>(value));
  } else {
    stack.pushReal(static_cast<double>(value));
  }
}

int32_t truncateToInt(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= 2147483647.0) {
    return INT32_MAX;
  }
  if (value <= -2147483648.0) {
    return INT32_MIN;
  }
  return static_cast<int32_t>(value);
}

// A result outside the operator's domain (logarithm of zero, root of a negative number)
// becomes 0 rather than an infinity or NaN that would poison the colour values.
void pushChecked(CalculatorStack& stack, double value) {
  if (!std::isfinite(value)) {
    reportError(-1, "Range error in PostScript function");
    value = 0.0;
  }
  stack.pushReal(value);
}

}  // namespace

class CPDFPostScriptFunction::Tokenizer {
 public:
  explicit Tokenizer(std::string_view source) : source_(source) {}

  // The next token, or false at the end of the source.
  bool next(std::string& token) {
    token.clear();
    while (pos_ < source_.size() && std::isspace(static_cast<unsigned char>(source_[pos_]))) {
      ++pos_;
    }
    if (pos_ >= source_.size()) {
      return false;
    }
    char c = source_[pos_++];
    token += c;
    if (c == '{' || c == '}') {
      return true;
    }
    bool numeric = std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-';
    while (pos_ < source_.size() && token.size() < 64) {
      unsigned char d = static_cast<unsigned char>(source_[pos_]);
      bool more = numeric ? (std::isdigit(d) || d == '.' || d == '-') : std::isalnum(d) != 0;
      if (!more) {
        break;
      }
      token += static_cast<char>(d);
      ++pos_;
    }
    return true;
  }

 private:
  std::string_view source_;
  size_t pos_ = 0;
};

std::unique_ptr<CPDFFunction> CPDFPostScriptFunction::build(const CPDFDict& dict,
                                                            CPDFStream* stream) {
  auto function = std::make_unique<CPDFPostScriptFunction>();
  if (!function->readDomainAndRange(dict)) {
    return function;
  }
  if (!function->hasRange_) {
    reportError(-1, "Type 4 function is missing range");
    return function;
  }
  if (!stream) {
    reportError(-1, "Type 4 function isn't a stream");
    return function;
  }
  stream->reset();
  std::string source = stream->readAll(kMaxCalculatorSourceBytes);
  stream->close();
  function->compile(source);
  return function;
}

bool CPDFPostScriptFunction::compile(std::string_view source) {
  code_.clear();
  full_ = false;
  ok_ = false;
  Tokenizer tokens(source);
  std::string token;
  if (!tokens.next(token) || token != "{") {
    reportError(-1, "Expected '{' at start of PostScript function");
    return false;
  }
  if (!compileBlock(tokens, 0)) {
    return false;
  }
  if (full_) {
    reportError(-1, "PostScript function is too long");
    return false;
  }
  ok_ = true;
  return true;
}

void CPDFPostScriptFunction::add(Entry entry) {
  if (code_.size() >= kMaxCalculatorCodeEntries) {
    full_ = true;
    return;
  }
  // Grown 64 entries at a time, which keeps the reallocations of small programs few.
  if (code_.size() == code_.capacity()) {
    code_.reserve(code_.capacity() + 64);
  }
  code_.push_back(entry);
}

bool CPDFPostScriptFunction::compileBlock(Tokenizer& tokens, int depth) {
  if (depth >= kMaxCalculatorBlockDepth) {
    reportError(-1, "PostScript function nested too deeply");
    return false;
  }
  std::string token;
  while (true) {
    if (full_) {
      return false;
    }
    if (!tokens.next(token)) {
      reportError(-1, "Unexpected end of PostScript function stream");
      return false;
    }
    unsigned char first = static_cast<unsigned char>(token[0]);
    if (std::isdigit(first) || first == '.' || first == '-') {
      if (token.find('.') != std::string::npos) {
        add({Entry::kReal, 0, std::strtod(token.c_str(), nullptr)});
      } else {
        long long value = std::strtoll(token.c_str(), nullptr, 10);
        if (value >= INT32_MIN && value <= INT32_MAX) {
          add({Entry::kInt, static_cast<int32_t>(value), 0.0});
        } else {
          add({Entry::kReal, 0, static_cast<double>(value)});
        }
      }
    } else if (token == "{") {
      size_t head = code_.size();
      add({Entry::kOperator, kIf, 0.0});
      add({Entry::kPosition, -1, 0.0});
      add({Entry::kPosition, -1, 0.0});
      if (full_ || !compileBlock(tokens, depth + 1)) {
        return false;
      }
      if (!tokens.next(token)) {
        reportError(-1, "Unexpected end of PostScript function stream");
        return false;
      }
      bool twoBlocks = false;
      if (token == "{") {
        twoBlocks = true;
        code_[head + 1].i = static_cast<int32_t>(code_.size());
        if (!compileBlock(tokens, depth + 1)) {
          return false;
        }
        if (!tokens.next(token)) {
          reportError(-1, "Unexpected end of PostScript function stream");
          return false;
        }
      }
      if (token == "if") {
        if (twoBlocks) {
          reportError(-1, "Got 'if' operator with two blocks in PostScript function");
          return false;
        }
        code_[head].i = kIf;
      } else if (token == "ifelse") {
        if (!twoBlocks) {
          reportError(-1, "Got 'ifelse' operator with one blocks in PostScript function");
          return false;
        }
        code_[head].i = kIfelse;
      } else {
        reportError(-1, "Expected if/ifelse operator in PostScript function");
        return false;
      }
      code_[head + 2].i = static_cast<int32_t>(code_.size());
    } else if (token == "}") {
      add({Entry::kOperator, kReturn, 0.0});
      return !full_;
    } else {
      int op = findOperator(token);
      if (op < 0) {
        reportError(-1, "Unknown operator '%s' in PostScript function", token.c_str());
        return false;
      }
      add({Entry::kOperator, op, 0.0});
    }
  }
}

std::unique_ptr<CPDFFunction> CPDFPostScriptFunction::copy() const {
  return std::make_unique<CPDFPostScriptFunction>(*this);
}

void CPDFPostScriptFunction::transform(const double* in, double* out) const {
  CalculatorStack stack;
  for (int i = 0; i < m_; ++i) {
    stack.pushReal(in[i]);
  }
  if (!code_.empty()) {
    exec(stack, 0, 0);
  }
  for (int i = n_ - 1; i >= 0; --i) {
    out[i] = clipOutput(i, stack.popNum());
  }
}

void CPDFPostScriptFunction::exec(CalculatorStack& stack, size_t pos, int depth) const {
  using V = CalculatorStack::Value;
  // Blocks nest no deeper than the compiler allowed, so the recursion is bounded by it.
  if (depth > kMaxCalculatorBlockDepth) {
    return;
  }
  while (pos < code_.size()) {
    const Entry& e = code_[pos];
    if (e.kind == Entry::kInt) {
      stack.pushInt(e.i);
      ++pos;
      continue;
    }
    if (e.kind == Entry::kReal) {
      stack.pushReal(e.r);
      ++pos;
      continue;
    }
    if (e.kind != Entry::kOperator) {
      return;  // not reachable from compiled code
    }
    switch (e.i) {
      case kIf:
      case kIfelse: {
        size_t elseStart = static_cast<size_t>(code_[pos + 1].i);
        size_t end = static_cast<size_t>(code_[pos + 2].i);
        bool condition = stack.popBool();
        if (condition) {
          exec(stack, pos + 3, depth + 1);
        } else if (e.i == kIfelse) {
          exec(stack, elseStart, depth + 1);
        }
        pos = end;
        continue;
      }
      case kReturn:
        return;
      case kAbs:
        if (stack.topIsInt()) {
          pushWide(stack, std::llabs(static_cast<int64_t>(stack.popInt())));
        } else {
          stack.pushReal(std::fabs(stack.popNum()));
        }
        break;
      case kNeg:
        if (stack.topIsInt()) {
          pushWide(stack, -static_cast<int64_t>(stack.popInt()));
        } else {
          stack.pushReal(-stack.popNum());
        }
        break;
      case kAdd:
      case kSub:
      case kMul:
        if (stack.topIsInt(0) && stack.topIsInt(1)) {
          int64_t b = stack.popInt();
          int64_t a = stack.popInt();
          pushWide(stack, e.i == kAdd ? a + b : e.i == kSub ? a - b : a * b);
        } else {
          double b = stack.popNum();
          double a = stack.popNum();
          stack.pushReal(e.i == kAdd ? a + b : e.i == kSub ? a - b : a * b);
        }
        break;
      case kDiv: {
        double b = stack.popNum();
        double a = stack.popNum();
        pushChecked(stack, b != 0.0 ? a / b : NAN);
        break;
      }
      case kIdiv:
      case kMod: {
        int64_t b = stack.popInt();
        int64_t a = stack.popInt();
        if (b == 0) {
          reportError(-1, "Division by zero in PostScript function");
          stack.pushInt(0);
        } else {
          pushWide(stack, e.i == kIdiv ? a / b : a % b);
        }
        break;
      }
      case kExp: {
        double exponent = stack.popNum();
        double base = stack.popNum();
        pushChecked(stack, std::pow(base, exponent));
        break;
      }
      case kLn:
      case kLog: {
        double x = stack.popNum();
        pushChecked(stack, x > 0.0 ? (e.i == kLn ? std::log(x) : std::log10(x)) : NAN);
        break;
      }
      case kSqrt: {
        double x = stack.popNum();
        pushChecked(stack, x >= 0.0 ? std::sqrt(x) : NAN);
        break;
      }
      case kSin:
        stack.pushReal(std::sin(stack.popNum() * kRadiansPerDegree));
        break;
      case kCos:
        stack.pushReal(std::cos(stack.popNum() * kRadiansPerDegree));
        break;
      case kAtan: {
        double den = stack.popNum();
        double num = stack.popNum();
        double angle = std::atan2(num, den) / kRadiansPerDegree;
        if (angle < 0) {
          angle += 360.0;
        }
        stack.pushReal(angle);
        break;
      }
      case kCeiling:
      case kFloor:
      case kTruncate:
      case kRound:
        if (!stack.topIsInt()) {
          double x = stack.popNum();
          double r = e.i == kCeiling    ? std::ceil(x)
                     : e.i == kFloor    ? std::floor(x)
                     : e.i == kTruncate ? std::trunc(x)
                     : x >= 0           ? std::floor(x + 0.5)
                                        : std::ceil(x - 0.5);
          stack.pushReal(r);
        }
        break;
      case kCvi:
        if (!stack.topIsInt()) {
          stack.pushInt(truncateToInt(stack.popNum()));
        }
        break;
      case kCvr:
        if (stack.topIsInt() || stack.empty()) {
          stack.pushReal(stack.popNum());
        }
        break;
      case kEq:
      case kNe:
      case kGt:
      case kGe:
      case kLt:
      case kLe: {
        int cmp = 0;  // sign of a - b
        if (stack.topIsBool(0) && stack.topIsBool(1)) {
          bool b = stack.popBool();
          bool a = stack.popBool();
          cmp = (a == b) ? 0 : (a ? 1 : -1);
        } else if (stack.topIsInt(0) && stack.topIsInt(1)) {
          int32_t b = stack.popInt();
          int32_t a = stack.popInt();
          cmp = (a > b) - (a < b);
        } else {
          double b = stack.popNum();
          double a = stack.popNum();
          cmp = (a > b) - (a < b);
        }
        bool result = e.i == kEq   ? cmp == 0
                      : e.i == kNe ? cmp != 0
                      : e.i == kGt ? cmp > 0
                      : e.i == kGe ? cmp >= 0
                      : e.i == kLt ? cmp < 0
                                   : cmp <= 0;
        stack.pushBool(result);
        break;
      }
      case kAnd:
      case kOr:
      case kXor:
        if (stack.topIsBool(0) && stack.topIsBool(1)) {
          bool b = stack.popBool();
          bool a = stack.popBool();
          stack.pushBool(e.i == kAnd ? (a && b) : e.i == kOr ? (a || b) : (a != b));
        } else {
          uint32_t b = static_cast<uint32_t>(stack.popInt());
          uint32_t a = static_cast<uint32_t>(stack.popInt());
          uint32_t r = e.i == kAnd ? (a & b) : e.i == kOr ? (a | b) : (a ^ b);
          stack.pushInt(static_cast<int32_t>(r));
        }
        break;
      case kNot:
        if (stack.topIsBool()) {
          stack.pushBool(!stack.popBool());
        } else {
          stack.pushInt(static_cast<int32_t>(~static_cast<uint32_t>(stack.popInt())));
        }
        break;
      case kBitshift: {
        int32_t count = stack.popInt();
        uint32_t value = static_cast<uint32_t>(stack.popInt());
        uint32_t r = 0;
        if (count >= 0) {
          r = count < 32 ? value << count : 0;
        } else {
          r = count > -32 ? value >> -count : 0;
        }
        stack.pushInt(static_cast<int32_t>(r));
        break;
      }
      case kTrue:
        stack.pushBool(true);
        break;
      case kFalse:
        stack.pushBool(false);
        break;
      case kDup:
        stack.copy(1);
        break;
      case kExch: {
        V b = stack.pop();
        V a = stack.pop();
        stack.push(b);
        stack.push(a);
        break;
      }
      case kPop:
        stack.pop();
        break;
      case kCopy:
        stack.copy(stack.popInt());
        break;
      case kIndex:
        stack.index(stack.popInt());
        break;
      case kRoll: {
        int32_t j = stack.popInt();
        int32_t n = stack.popInt();
        stack.roll(n, j);
        break;
      }
      default:
        break;
    }
    ++pos;
  }
}

}  // namespace qv
