#pragma once

// Builds the decoding filters named by a stream dictionary: the one place that knows every
// filter name and its abbreviation (as inline images use them). Filters the engine cannot
// build yet, and unknown names, give an EmptyStream after a report, so one bad stream
// never fails the whole document. Chains are capped at kMaxFilterChainLength filters.
// Stateless; one instance may serve every document.

#include <memory>
#include <string_view>

#include "pdf/core/CPDFFilterFactory.h"
#include "pdf/core/CPDFObject.h"

namespace qv {

class FilterFactory final : public CPDFFilterFactory {
 public:
  // Filter (or F) and DecodeParms (or DP) of dict, applied in order over input.
  std::unique_ptr<CPDFStream> makeFilterChain(std::unique_ptr<CPDFStream> input,
                                              const CPDFDict& dict) const override;

  // One filter by full name or abbreviation; params are read only when they are a
  // dictionary, and a parameter of the wrong kind takes its default.
  std::unique_ptr<CPDFStream> makeFilter(std::string_view name, std::unique_ptr<CPDFStream> input,
                                         const CPDFObject& params) const;
};

}  // namespace qv
