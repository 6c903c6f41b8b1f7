#pragma once

// How values reach indirect objects without the core knowing the document: the
// cross-reference table implements this interface, and arrays, dictionaries, lexers and
// parsers hold a borrowed pointer to it (null when there is no table, as when reading a
// trailer). Implementations guard against reference loops where they fetch, with
// CPDFResolveGuard.

#include <cstdint>

#include "pdf/core/CPDFObject.h"

namespace qv {

class CPDFObjectResolver {
 public:
  virtual ~CPDFObjectResolver() = default;

  // Indirect object (num, gen); a null value when it does not exist or cannot be read.
  virtual CPDFObject fetchObject(int32_t num, int32_t gen) = 0;

  // The smallest known end of stream data at or after `pos` (the position of an "endstream"
  // line found by a scan of a damaged file), or -1 when none is known.
  virtual int64_t findStreamEnd([[maybe_unused]] int64_t pos) const { return -1; }
};

}  // namespace qv
