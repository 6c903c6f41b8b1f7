#include "pdf/functions/CPDFStitchingFunction.h"

#include "pdf/core/CPDFObject.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

CPDFStitchingFunction::CPDFStitchingFunction(const CPDFStitchingFunction& other)
    : CPDFFunction(other), bounds_(other.bounds_), encode_(other.encode_), ok_(other.ok_) {
  functions_.reserve(other.functions_.size());
  for (const auto& function : other.functions_) {
    functions_.push_back(function->copy());
  }
}

std::unique_ptr<CPDFFunction> CPDFStitchingFunction::build(const CPDFDict& dict,
                                                           ParseState& state) {
  auto function = std::make_unique<CPDFStitchingFunction>();
  CPDFStitchingFunction& f = *function;
  if (!f.readDomainAndRange(dict)) {
    return function;
  }
  if (f.m_ != 1) {
    reportError(-1, "Stitching function with more than one input");
    return function;
  }
  RefPtr<CPDFArray> functions = dict.lookupArray("Functions");
  if (!functions) {
    reportError(-1, "Missing 'Functions' entry in stitching function");
    return function;
  }
  const int k = functions->count();
  for (int i = 0; i < k; ++i) {
    std::unique_ptr<CPDFFunction> sub = parse(functions->get(i), state);
    if (!sub) {
      return function;
    }
    if (i > 0 && (sub->inputSize() != 1 || sub->outputSize() != f.functions_[0]->outputSize())) {
      reportError(-1, "Incompatible subfunctions in stitching function");
      return function;
    }
    f.functions_.push_back(std::move(sub));
  }
  if (k == 0) {
    // Nothing to evaluate: there is no interval to choose.
    reportError(-1, "Missing 'Functions' entry in stitching function");
    return function;
  }
  RefPtr<CPDFArray> bounds = dict.lookupArray("Bounds");
  if (!bounds || bounds->count() != k - 1) {
    reportError(-1, "Missing or invalid 'Bounds' entry in stitching function");
    return function;
  }
  f.bounds_.push_back(f.domain_[0][0]);
  for (int i = 0; i < k - 1; ++i) {
    CPDFObject value = bounds->get(i);
    if (!value.isNum()) {
      reportError(-1, "Invalid type in 'Bounds' array in stitching function");
      return function;
    }
    f.bounds_.push_back(value.getNum());
  }
  f.bounds_.push_back(f.domain_[0][1]);
  RefPtr<CPDFArray> encode = dict.lookupArray("Encode");
  if (!encode || encode->count() != 2 * k) {
    reportError(-1, "Missing or invalid 'Encode' entry in stitching function");
    return function;
  }
  for (int i = 0; i < 2 * k; ++i) {
    CPDFObject value = encode->get(i);
    if (!value.isNum()) {
      reportError(-1, "Invalid type in 'Encode' array in stitching function");
      return function;
    }
    f.encode_.push_back(value.getNum());
  }
  // The outputs are those of the subfunctions; the stitching level limits nothing itself.
  f.n_ = f.functions_[0]->outputSize();
  f.ok_ = true;
  return function;
}

std::unique_ptr<CPDFFunction> CPDFStitchingFunction::copy() const {
  return std::make_unique<CPDFStitchingFunction>(*this);
}

void CPDFStitchingFunction::transform(const double* in, double* out) const {
  const int k = static_cast<int>(functions_.size());
  double x = clipInput(0, in[0]);
  int i = 0;
  while (i < k - 1 && !(x < bounds_[i + 1])) {
    ++i;
  }
  double width = bounds_[i + 1] - bounds_[i];
  double t = width != 0.0 ? (x - bounds_[i]) / width : 0.0;
  double sub[kMaxInputs] = {encode_[2 * i] + t * (encode_[2 * i + 1] - encode_[2 * i])};
  functions_[i]->transform(sub, out);
}

}  // namespace qv
