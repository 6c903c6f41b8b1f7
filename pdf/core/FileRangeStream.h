#pragma once

// A source stream over a byte range of a CPDFFile: the whole document (start 0, length -1)
// or one stream's data. It keeps its own read position, so streams of the same file can be
// read nested or interleaved without disturbing one another. Holds a reference to the file.

#include <array>
#include <memory>
#include <string>

#include "pdf/core/CPDFFile.h"
#include "pdf/core/SourceStream.h"

namespace qv {

class FileRangeStream : public SourceStream {
 public:
  // `length` -1 means: to the end of the file.
  FileRangeStream(RefPtr<CPDFFile> file, int64_t start, int64_t length, CPDFObject dict);

  StreamKind getKind() const override { return StreamKind::FileRange; }
  void close() override;
  int64_t getPos() const override;
  // pos >= 0 moves there; a negative pos counts back from the end of the file (clamped to
  // the first byte).
  void setPos(int64_t pos) override;

  std::unique_ptr<SourceStream> makeSubStream(int64_t start, int64_t length,
                                              CPDFObject dict) override;
  int64_t getStart() const override { return start_; }
  void moveStart(int64_t delta) override;
  int64_t getLength() const { return length_; }
  const RefPtr<CPDFFile>& file() const { return file_; }

 protected:
  bool refill() override;
  void onReset() override;

 private:
  static constexpr size_t kBufferSize = 4096;

  RefPtr<CPDFFile> file_;
  int64_t start_;
  int64_t length_;
  int64_t bufPos_;     // file offset of the window's first byte
  size_t bufLen_ = 0;  // bytes in buf_
  std::array<uint8_t, kBufferSize> buf_{};
};

// A source stream over bytes in memory (decoded data, tests), with an optional dictionary.
std::unique_ptr<FileRangeStream> makeMemoryStream(std::string bytes, CPDFObject dict = {});

}  // namespace qv
