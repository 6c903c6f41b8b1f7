#include "pdf/core/FileRangeStream.h"

#include <algorithm>

namespace qv {

FileRangeStream::FileRangeStream(RefPtr<CPDFFile> file, int64_t start, int64_t length,
                                 CPDFObject dict)
    : SourceStream(std::move(dict)),
      file_(std::move(file)),
      start_(std::max<int64_t>(start, 0)),
      length_(length < 0 ? -1 : length),
      bufPos_(start_) {}

void FileRangeStream::onReset() {
  bufPos_ = start_;
  bufLen_ = 0;
  if (StreamDecryptor* d = decryptor()) {
    d->reset();
  }
}

void FileRangeStream::close() {
  // Every read is positioned, so there is no shared file position to give back.
}

int64_t FileRangeStream::getPos() const {
  return bufPos_ + static_cast<int64_t>(bufLen_ - outputRemaining());
}

void FileRangeStream::setPos(int64_t pos) {
  const int64_t size = file_ ? file_->size() : 0;
  if (pos < 0) {
    pos = std::max<int64_t>(size + pos, 0);
  }
  discardOutput();
  bufPos_ = pos;
  bufLen_ = 0;
}

void FileRangeStream::moveStart(int64_t delta) {
  start_ = std::max<int64_t>(start_ + delta, 0);
  discardOutput();
  bufPos_ = start_;
  bufLen_ = 0;
}

std::unique_ptr<SourceStream> FileRangeStream::makeSubStream(int64_t start, int64_t length,
                                                             CPDFObject dict) {
  return std::make_unique<FileRangeStream>(file_, start, length, std::move(dict));
}

bool FileRangeStream::refill() {
  bufPos_ += static_cast<int64_t>(bufLen_);
  bufLen_ = 0;
  if (!file_) {
    return false;
  }
  size_t want = kBufferSize;
  if (length_ >= 0) {
    const int64_t end = start_ + length_;
    if (bufPos_ >= end) {
      return false;
    }
    want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(kBufferSize), end - bufPos_));
  }
  bufLen_ = file_->readAt(bufPos_, buf_.data(), want);
  if (bufLen_ == 0) {
    return false;
  }
  if (StreamDecryptor* d = decryptor()) {
    d->decrypt(buf_.data(), bufLen_);
  }
  setOutput(buf_.data(), buf_.data() + bufLen_);
  return true;
}

std::unique_ptr<FileRangeStream> makeMemoryStream(std::string bytes, CPDFObject dict) {
  return std::make_unique<FileRangeStream>(CPDFFile::fromBytes(std::move(bytes)), 0, -1,
                                           std::move(dict));
}

}  // namespace qv
