#include "pdf/functions/CPDFExponentialFunction.h"

#include <cmath>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

// Reads C0 or C1 into `values`, setting the output count; false on a bad element or an
// array longer than the output limit.
bool readCoefficients(const CPDFArray& array, const char* key, std::array<double, 8>& values,
                      int& count) {
  if (array.count() > CPDFFunction::kMaxOutputs) {
    reportError(-1, "Functions with more than %d outputs are unsupported",
                CPDFFunction::kMaxOutputs);
    return false;
  }
  count = array.count();
  for (int i = 0; i < count; ++i) {
    CPDFObject value = array.get(i);
    if (!value.isNum()) {
      reportError(-1, "Illegal value in function %s array", key);
      return false;
    }
    values[i] = value.getNum();
  }
  return true;
}

}  // namespace

std::unique_ptr<CPDFFunction> CPDFExponentialFunction::build(const CPDFDict& dict) {
  auto function = std::make_unique<CPDFExponentialFunction>();
  if (!function->readDomainAndRange(dict)) {
    return function;
  }
  if (function->m_ != 1) {
    reportError(-1, "Exponential function with more than one input");
    return function;
  }
  // The output count comes from Range unless C0 or C1 give it; with none of them the
  // defaults C0 = [0] and C1 = [1] make one output.
  int count = function->n_ > 0 ? function->n_ : 1;
  function->c0_.fill(0.0);
  function->c1_.fill(1.0);
  if (RefPtr<CPDFArray> c0 = dict.lookupArray("C0")) {
    if (!readCoefficients(*c0, "C0", function->c0_, count)) {
      return function;
    }
  }
  if (RefPtr<CPDFArray> c1 = dict.lookupArray("C1")) {
    if (!readCoefficients(*c1, "C1", function->c1_, count)) {
      return function;
    }
  }
  CPDFObject n = dict.lookup("N");
  if (!n.isNum()) {
    reportError(-1, "Function has missing or invalid N");
    return function;
  }
  function->e_ = n.getNum();
  function->n_ = count;
  function->ok_ = true;
  return function;
}

std::unique_ptr<CPDFFunction> CPDFExponentialFunction::copy() const {
  return std::make_unique<CPDFExponentialFunction>(*this);
}

void CPDFExponentialFunction::transform(const double* in, double* out) const {
  double x = clipInput(0, in[0]);
  double t = std::pow(x, e_);
  for (int i = 0; i < n_; ++i) {
    out[i] = clipOutput(i, c0_[i] + t * (c1_[i] - c0_[i]));
  }
}

}  // namespace qv
