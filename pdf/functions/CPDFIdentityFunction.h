#pragma once

// The function named "Identity": eight inputs in 0..1 copied to eight outputs. A plain value
// owned like every CPDFFunction.

#include "pdf/functions/CPDFFunction.h"

namespace qv {

class CPDFIdentityFunction : public CPDFFunction {
 public:
  CPDFIdentityFunction();
  std::unique_ptr<CPDFFunction> copy() const override;
  void transform(const double* in, double* out) const override;
  bool isOk() const override { return true; }
};

}  // namespace qv
