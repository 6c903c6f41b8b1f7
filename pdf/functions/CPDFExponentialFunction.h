#pragma once

// Exponential interpolation (function type 2): out[i] = C0[i] + x^N * (C1[i] - C0[i]) for
// one input. A plain value owned like every CPDFFunction.

#include <memory>

#include "pdf/functions/CPDFFunction.h"

namespace qv {

class CPDFExponentialFunction : public CPDFFunction {
 public:
  static std::unique_ptr<CPDFFunction> build(const CPDFDict& dict);

  std::unique_ptr<CPDFFunction> copy() const override;
  void transform(const double* in, double* out) const override;
  bool isOk() const override { return ok_; }

 private:
  std::array<double, kMaxOutputs> c0_{};
  std::array<double, kMaxOutputs> c1_{};
  double e_ = 1.0;
  bool ok_ = false;
};

}  // namespace qv
