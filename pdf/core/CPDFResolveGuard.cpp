#include "pdf/core/CPDFResolveGuard.h"

#include <algorithm>

#include "pdf/core/Limits.h"

namespace qv {

bool CPDFResolveSet::contains(CPDFRef ref) const {
  return std::find(active_.begin(), active_.end(), ref) != active_.end();
}

CPDFResolveGuard::CPDFResolveGuard(CPDFResolveSet& set, CPDFRef ref) : set_(set) {
  if (set.depth() >= kMaxResolveDepth || set.contains(ref)) {
    return;
  }
  set.active_.push_back(ref);
  entered_ = true;
}

CPDFResolveGuard::~CPDFResolveGuard() {
  if (entered_) {
    set_.active_.pop_back();
  }
}

}  // namespace qv
