#pragma once

// The stream that stands in for a filter that cannot be built (an unknown name, a bad
// Filter entry, a decoder this engine does not have): it delivers no bytes and its reset
// does nothing. It still owns its input, so the chain below is destroyed with it.

#include "pdf/core/FilterStream.h"

namespace qv {

class EmptyStream final : public FilterStream {
 public:
  explicit EmptyStream(std::unique_ptr<CPDFStream> input) : FilterStream(std::move(input)) {}

  StreamKind getKind() const override { return StreamKind::Empty; }

 protected:
  bool refill() override { return false; }
  void onReset() override {}
};

}  // namespace qv
