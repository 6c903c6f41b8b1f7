#include "pdf/functions/CPDFIdentityFunction.h"

namespace qv {

CPDFIdentityFunction::CPDFIdentityFunction() {
  m_ = kMaxInputs;
  n_ = kMaxOutputs;
  for (int i = 0; i < m_; ++i) {
    domain_[i] = {0.0, 1.0};
  }
}

std::unique_ptr<CPDFFunction> CPDFIdentityFunction::copy() const {
  return std::make_unique<CPDFIdentityFunction>(*this);
}

void CPDFIdentityFunction::transform(const double* in, double* out) const {
  for (int i = 0; i < n_; ++i) {
    out[i] = in[i];
  }
}

}  // namespace qv
