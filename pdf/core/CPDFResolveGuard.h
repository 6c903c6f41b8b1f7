#pragma once

// Loop and depth protection for fetching indirect objects. The resolver (the
// cross-reference table) owns one CPDFResolveSet; fetchObject() opens a CPDFResolveGuard for
// the object it is about to parse and gives up (null value) when entered() is false: the
// object is already being fetched further up (a loop such as a stream whose Length refers to
// the stream itself), or kMaxResolveDepth fetches are already nested.
//
//   CPDFResolveGuard guard(active_, {num, gen});
//   if (!guard.entered()) return CPDFObject::makeNull();
//
// Higher layers walking object graphs (page tree, outlines) may keep a set of their own.

#include <vector>

#include "pdf/core/CPDFObject.h"

namespace qv {

class CPDFResolveSet {
 public:
  bool contains(CPDFRef ref) const;
  int depth() const { return static_cast<int>(active_.size()); }

 private:
  friend class CPDFResolveGuard;
  std::vector<CPDFRef> active_;
};

class CPDFResolveGuard {
 public:
  CPDFResolveGuard(CPDFResolveSet& set, CPDFRef ref);
  ~CPDFResolveGuard();
  CPDFResolveGuard(const CPDFResolveGuard&) = delete;
  CPDFResolveGuard& operator=(const CPDFResolveGuard&) = delete;

  // False when `ref` was already being resolved or the depth bound was reached.
  bool entered() const { return entered_; }

 private:
  CPDFResolveSet& set_;
  bool entered_ = false;
};

}  // namespace qv
