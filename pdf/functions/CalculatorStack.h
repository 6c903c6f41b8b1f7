#pragma once

// The operand stack of a PostScript calculator function: a fixed array of booleans,
// integers and reals. Overflow drops the push, underflow and type mismatches yield zero;
// each is reported and evaluation carries on. One per evaluation, on the caller's stack.

#include <array>
#include <cstdint>

#include "pdf/functions/FunctionLimits.h"

namespace qv {

class CalculatorStack {
 public:
  struct Value {
    enum Kind : uint8_t { kBool, kInt, kReal } kind = kInt;
    bool b = false;
    int32_t i = 0;
    double r = 0.0;

    double num() const { return kind == kInt ? static_cast<double>(i) : r; }
  };

  void pushBool(bool b);
  void pushInt(int32_t i);
  void pushReal(double r);
  void push(const Value& value);

  bool popBool();
  int32_t popInt();
  double popNum();
  Value pop();

  bool empty() const { return count_ == 0; }
  int size() const { return count_; }
  // The kind of the entry `depth` places below the top (0 = top); kInt when absent.
  Value::Kind kindAt(int depth) const;
  bool topIsInt(int depth = 0) const { return depth < count_ && kindAt(depth) == Value::kInt; }
  bool topIsBool(int depth = 0) const { return depth < count_ && kindAt(depth) == Value::kBool; }

  // Stack manipulation; bad counts report an underflow and leave the stack unchanged.
  void copy(int n);
  void index(int n);
  void roll(int n, int j);

 private:
  std::array<Value, kCalculatorStackSize> values_{};
  int count_ = 0;
};

}  // namespace qv
