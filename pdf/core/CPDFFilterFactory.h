#pragma once

// How the parser stacks decoding filters on a stream without the core knowing the filters:
// the filter library implements this interface and the document hands it to its parsers.

#include <memory>

#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"

namespace qv {

class CPDFFilterFactory {
 public:
  virtual ~CPDFFilterFactory() = default;
  // Wraps `input` in the filters named by the stream dictionary's Filter/DecodeParms and
  // returns the stream to read (`input` itself when there are none).
  virtual std::unique_ptr<CPDFStream> makeFilterChain(std::unique_ptr<CPDFStream> input,
                                                      const CPDFDict& dict) const = 0;
};

}  // namespace qv
