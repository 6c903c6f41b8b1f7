#pragma once

// A PostScript calculator function (function type 4): the stream's program compiled once
// into a flat code array and run on a fresh operand stack for every evaluation. A plain
// value owned like every CPDFFunction.
//
// Code layout: numbers and operators are one entry each. A block pair for if/ifelse is three
// entries (the operator, the start of the else block or -1, the position after both blocks)
// followed by the first block; every block ends with a return entry.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/functions/CPDFFunction.h"

namespace qv {

class CPDFStream;
class CalculatorStack;

class CPDFPostScriptFunction : public CPDFFunction {
 public:
  static std::unique_ptr<CPDFFunction> build(const CPDFDict& dict, CPDFStream* stream);
  // Compiles `source` for a function with the given domain and range (tests, and build).
  bool compile(std::string_view source);

  std::unique_ptr<CPDFFunction> copy() const override;
  void transform(const double* in, double* out) const override;
  bool isOk() const override { return ok_; }

  size_t codeSize() const { return code_.size(); }

  // Operator numbers, in the alphabetical order of their names.
  enum Op : int32_t {
    kAbs,
    kAdd,
    kAnd,
    kAtan,
    kBitshift,
    kCeiling,
    kCopy,
    kCos,
    kCvi,
    kCvr,
    kDiv,
    kDup,
    kEq,
    kExch,
    kExp,
    kFalse,
    kFloor,
    kGe,
    kGt,
    kIdiv,
    kIndex,
    kLe,
    kLn,
    kLog,
    kLt,
    kMod,
    kMul,
    kNe,
    kNeg,
    kNot,
    kOr,
    kPop,
    kRoll,
    kRound,
    kSin,
    kSqrt,
    kSub,
    kTrue,
    kTruncate,
    kXor,
    kIf,
    kIfelse,
    kReturn,
  };

 private:
  friend class CPDFFunction;

  struct Entry {
    enum Kind : uint8_t { kInt, kReal, kOperator, kPosition } kind;
    int32_t i;
    double r;
  };

  class Tokenizer;
  bool compileBlock(Tokenizer& tokens, int depth);
  void add(Entry entry);
  void exec(CalculatorStack& stack, size_t pos, int depth) const;

  std::vector<Entry> code_;
  bool ok_ = false;
  bool full_ = false;
};

}  // namespace qv
