#pragma once

// A stitching function (function type 3): one input split by Bounds into k intervals, each
// mapped through its Encode pair onto one of k subfunctions, which it owns. copy() copies
// the subfunctions too. A plain value owned like every CPDFFunction.

#include <memory>
#include <vector>

#include "pdf/functions/CPDFFunction.h"

namespace qv {

class CPDFStitchingFunction : public CPDFFunction {
 public:
  static std::unique_ptr<CPDFFunction> build(const CPDFDict& dict, ParseState& state);

  CPDFStitchingFunction() = default;
  CPDFStitchingFunction(const CPDFStitchingFunction& other);

  std::unique_ptr<CPDFFunction> copy() const override;
  void transform(const double* in, double* out) const override;
  bool isOk() const override { return ok_; }

  int subfunctionCount() const { return static_cast<int>(functions_.size()); }

 private:
  std::vector<std::unique_ptr<CPDFFunction>> functions_;
  std::vector<double> bounds_;  // k + 1 values: domain low, Bounds, domain high
  std::vector<double> encode_;  // 2k values
  bool ok_ = false;
};

}  // namespace qv
