#include "pdf/functions/CPDFFunction.h"

#include <cmath>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/functions/CPDFExponentialFunction.h"
#include "pdf/functions/CPDFIdentityFunction.h"
#include "pdf/functions/CPDFPostScriptFunction.h"
#include "pdf/functions/CPDFSampledFunction.h"
#include "pdf/functions/CPDFStitchingFunction.h"
#include "pdf/functions/FunctionLimits.h"

namespace qv {

std::unique_ptr<CPDFFunction> CPDFFunction::parse(const CPDFObject& object) {
  ParseState state;
  return parse(object, state);
}

std::unique_ptr<CPDFFunction> CPDFFunction::parse(const CPDFObject& object, ParseState& state) {
  if (object.isName("Identity")) {
    return std::make_unique<CPDFIdentityFunction>();
  }
  if (state.depth >= kMaxFunctionDepth || state.nodes >= kMaxFunctionNodes) {
    reportError(-1, "Functions nested too deeply or too many subfunctions");
    return nullptr;
  }
  const CPDFDict* dict = nullptr;
  CPDFStream* stream = nullptr;
  if (object.isStream()) {
    stream = object.getStream();
    dict = stream->getDict().getDict();
  } else if (object.isDict()) {
    dict = object.getDict();
  }
  if (!dict) {
    reportError(-1, "Expected function dictionary or stream");
    return nullptr;
  }
  CPDFObject type = dict->lookup("FunctionType");
  if (!type.isInt()) {
    reportError(-1, "Function type is missing or wrong type");
    return nullptr;
  }
  ++state.nodes;
  std::unique_ptr<CPDFFunction> function;
  switch (type.getInt()) {
    case 0:
      function = CPDFSampledFunction::build(*dict, stream);
      break;
    case 2:
      function = CPDFExponentialFunction::build(*dict);
      break;
    case 3: {
      ++state.depth;
      function = CPDFStitchingFunction::build(*dict, state);
      --state.depth;
      break;
    }
    case 4:
      function = CPDFPostScriptFunction::build(*dict, stream);
      break;
    default:
      reportError(-1, "Unimplemented function type (%d)", type.getInt());
      return nullptr;
  }
  if (!function || !function->isOk()) {
    return nullptr;
  }
  return function;
}

bool CPDFFunction::readDomainAndRange(const CPDFDict& dict) {
  RefPtr<CPDFArray> domain = dict.lookupArray("Domain");
  if (!domain) {
    reportError(-1, "Function is missing domain");
    return false;
  }
  m_ = domain->count() / 2;
  if (m_ > kMaxInputs) {
    reportError(-1, "Functions with more than %d inputs are unsupported", kMaxInputs);
    return false;
  }
  for (int i = 0; i < m_; ++i) {
    for (int j = 0; j < 2; ++j) {
      CPDFObject value = domain->get(2 * i + j);
      if (!value.isNum()) {
        reportError(-1, "Illegal value in function domain array");
        return false;
      }
      domain_[i][j] = value.getNum();
    }
  }
  hasRange_ = false;
  n_ = 0;
  rangeCount_ = 0;
  if (RefPtr<CPDFArray> range = dict.lookupArray("Range")) {
    hasRange_ = true;
    n_ = range->count() / 2;
    rangeCount_ = n_;
    if (n_ > kMaxOutputs) {
      reportError(-1, "Functions with more than %d outputs are unsupported", kMaxOutputs);
      return false;
    }
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < 2; ++j) {
        CPDFObject value = range->get(2 * i + j);
        if (!value.isNum()) {
          reportError(-1, "Illegal value in function range array");
          return false;
        }
        range_[i][j] = value.getNum();
      }
    }
  }
  return true;
}

double CPDFFunction::clipInput(int i, double value) const {
  if (std::isnan(value) || value < domain_[i][0]) {
    return domain_[i][0];
  }
  return value > domain_[i][1] ? domain_[i][1] : value;
}

double CPDFFunction::clipOutput(int i, double value) const {
  if (!hasRange_ || i >= rangeCount_) {
    return value;
  }
  if (std::isnan(value) || value < range_[i][0]) {
    return range_[i][0];
  }
  return value > range_[i][1] ? range_[i][1] : value;
}

}  // namespace qv
