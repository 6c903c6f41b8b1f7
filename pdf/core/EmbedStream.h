#pragma once

// The source of an inline image: reads straight from the content stream the lexer stands in
// (borrowed; the lexer outlives the image's decoding), carrying the image's dictionary.
// reset() and close() do nothing, since the content stream is already being read.

#include "pdf/core/SourceStream.h"

namespace qv {

class EmbedStream : public SourceStream {
 public:
  EmbedStream(CPDFStream& input, CPDFObject dict);

  StreamKind getKind() const override { return input_.getKind(); }
  int64_t getPos() const override;
  void setPos(int64_t pos) override;
  std::unique_ptr<SourceStream> makeSubStream(int64_t start, int64_t length,
                                              CPDFObject dict) override;
  int64_t getStart() const override;
  void moveStart(int64_t delta) override;

 protected:
  bool refill() override;
  void onReset() override {}

 private:
  CPDFStream& input_;
  uint8_t byte_ = 0;
};

}  // namespace qv
