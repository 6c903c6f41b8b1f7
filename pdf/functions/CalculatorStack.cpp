#include "pdf/functions/CalculatorStack.h"

#include "pdf/core/ErrorReport.h"

namespace qv {

void CalculatorStack::push(const Value& value) {
  if (count_ >= kCalculatorStackSize) {
    reportError(-1, "Stack overflow in PostScript function");
    return;
  }
  values_[count_++] = value;
}

void CalculatorStack::pushBool(bool b) {
  Value v;
  v.kind = Value::kBool;
  v.b = b;
  push(v);
}

void CalculatorStack::pushInt(int32_t i) {
  Value v;
  v.kind = Value::kInt;
  v.i = i;
  push(v);
}

void CalculatorStack::pushReal(double r) {
  Value v;
  v.kind = Value::kReal;
  v.r = r;
  push(v);
}

CalculatorStack::Value CalculatorStack::pop() {
  if (count_ == 0) {
    reportError(-1, "Stack underflow in PostScript function");
    return Value{};
  }
  return values_[--count_];
}

bool CalculatorStack::popBool() {
  if (count_ == 0) {
    reportError(-1, "Stack underflow in PostScript function");
    return false;
  }
  Value v = values_[--count_];
  if (v.kind != Value::kBool) {
    reportError(-1, "Type mismatch in PostScript function");
    return false;
  }
  return v.b;
}

int32_t CalculatorStack::popInt() {
  if (count_ == 0) {
    reportError(-1, "Stack underflow in PostScript function");
    return 0;
  }
  Value v = values_[--count_];
  if (v.kind != Value::kInt) {
    reportError(-1, "Type mismatch in PostScript function");
    return 0;
  }
  return v.i;
}

double CalculatorStack::popNum() {
  if (count_ == 0) {
    reportError(-1, "Stack underflow in PostScript function");
    return 0.0;
  }
  Value v = values_[--count_];
  if (v.kind == Value::kBool) {
    reportError(-1, "Type mismatch in PostScript function");
    return 0.0;
  }
  return v.num();
}

CalculatorStack::Value::Kind CalculatorStack::kindAt(int depth) const {
  if (depth < 0 || depth >= count_) {
    return Value::kInt;
  }
  return values_[count_ - 1 - depth].kind;
}

void CalculatorStack::copy(int n) {
  if (n < 0 || n > count_) {
    reportError(-1, "Stack underflow in PostScript function");
    return;
  }
  if (count_ + n > kCalculatorStackSize) {
    reportError(-1, "Stack overflow in PostScript function");
    return;
  }
  for (int i = 0; i < n; ++i) {
    values_[count_ + i] = values_[count_ - n + i];
  }
  count_ += n;
}

void CalculatorStack::index(int n) {
  if (n < 0 || n >= count_) {
    reportError(-1, "Stack underflow in PostScript function");
    return;
  }
  push(values_[count_ - 1 - n]);
}

void CalculatorStack::roll(int n, int j) {
  if (n < 0 || n > count_) {
    reportError(-1, "Stack underflow in PostScript function");
    return;
  }
  if (n == 0) {
    return;
  }
  // A positive j moves entries towards the top: the top j entries go to the bottom of the
  // rolled group.
  int shift = j % n;
  if (shift < 0) {
    shift += n;
  }
  if (shift == 0) {
    return;
  }
  std::array<Value, kCalculatorStackSize> rolled;
  Value* base = &values_[count_ - n];
  for (int i = 0; i < n; ++i) {
    rolled[(i + shift) % n] = base[i];
  }
  for (int i = 0; i < n; ++i) {
    base[i] = rolled[i];
  }
}

}  // namespace qv
