#pragma once

// A stream at the bottom of a chain: it holds the stream dictionary (null when none) and an
// optional decryptor that every byte read passes through. Sub-streams of the same source
// share its file.

#include <memory>

#include "pdf/core/CPDFStream.h"
#include "pdf/core/StreamDecryptor.h"

namespace qv {

class SourceStream : public CPDFStream {
 public:
  explicit SourceStream(CPDFObject dict);
  ~SourceStream() override;

  SourceStream* getSource() override { return this; }
  const CPDFObject& getDict() const override { return dict_; }

  // A new stream over `length` bytes from `start` (length -1: to the end) carrying `dict`;
  // null where the source cannot make one.
  virtual std::unique_ptr<SourceStream> makeSubStream(int64_t start, int64_t length,
                                                      CPDFObject dict) = 0;
  virtual int64_t getStart() const = 0;
  virtual void moveStart(int64_t delta) = 0;

  // Every byte read from now on is decrypted by `decryptor`, which restarts on reset().
  void attachDecryptor(std::unique_ptr<StreamDecryptor> decryptor);

 protected:
  StreamDecryptor* decryptor() const { return decryptor_.get(); }

 private:
  CPDFObject dict_;
  std::unique_ptr<StreamDecryptor> decryptor_;
};

}  // namespace qv
