#pragma once

// A sampled function (function type 0): a table of samples over a grid of input values,
// read from its stream when built and interpolated multilinearly between grid points. A
// plain value owned like every CPDFFunction.

#include <memory>
#include <vector>

#include "pdf/functions/CPDFFunction.h"

namespace qv {

class CPDFStream;

class CPDFSampledFunction : public CPDFFunction {
 public:
  static std::unique_ptr<CPDFFunction> build(const CPDFDict& dict, CPDFStream* stream);

  std::unique_ptr<CPDFFunction> copy() const override;
  void transform(const double* in, double* out) const override;
  bool isOk() const override { return ok_; }

  size_t sampleCount() const { return samples_.size(); }

 private:
  bool readSamples(CPDFStream& stream);

  std::array<int, kMaxInputs> size_{};
  std::array<std::array<double, 2>, kMaxInputs> encode_{};
  std::array<std::array<double, 2>, kMaxOutputs> decode_{};
  int bitsPerSample_ = 0;
  std::vector<double> samples_;
  bool ok_ = false;
};

}  // namespace qv
