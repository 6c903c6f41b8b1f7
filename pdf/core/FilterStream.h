#pragma once

// Base of the decoding filters: owns its input stream (destroying a filter destroys the chain
// below it). close() closes the input, getPos() answers the input's position, getSource() and
// getDict() forward to it, setPos() is refused. A filter implements refill() and onReset();
// its onReset() calls resetInput() and restarts its own state.

#include <memory>

#include "pdf/core/CPDFStream.h"

namespace qv {

class FilterStream : public CPDFStream {
 public:
  explicit FilterStream(std::unique_ptr<CPDFStream> input);
  ~FilterStream() override;

  void close() override;
  int64_t getPos() const override;
  void setPos(int64_t pos) override;
  SourceStream* getSource() override;
  const CPDFObject& getDict() const override;

 protected:
  // The input; may be null only for a filter built without one (then reading ends at once).
  CPDFStream* input() const { return input_.get(); }
  void resetInput();

 private:
  std::unique_ptr<CPDFStream> input_;
};

}  // namespace qv
