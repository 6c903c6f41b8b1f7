#pragma once

// The byte-stream interface through which the engine reads all bytes: source streams (a range
// of the file, an inline image inside a content stream) at the bottom of a chain, decoding
// filters (FilterStream) stacked on them.
//
// The base owns the output window: nextChar()/peekChar() are inline reads from it, and a
// stream implements only refill(), which makes the next bytes available (in the base's own
// buffer through beginOutput()/commitOutput(), or in a buffer of its own through
// setOutput()). reset() empties the window and calls onReset().
//
// Ownership: streams are reference counted (a CPDFObject of kind Stream holds the top of a
// chain); below the top, each filter owns its input through std::unique_ptr. Users bracket
// reading with reset() and close(). One thread at a time, with the document.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/RefCounted.h"

namespace qv {

class SourceStream;

// What getKind() answers. Fixed numbers: other code recognises JPEG data by DCT.
enum class StreamKind : int32_t {
  FileRange = 0,
  ASCIIHex = 1,
  ASCII85 = 2,
  LZW = 3,
  RunLength = 4,
  CCITTFax = 5,
  DCT = 6,
  Flate = 7,
  Empty = 8,
};
static_assert(static_cast<int32_t>(StreamKind::FileRange) == 0);
static_assert(static_cast<int32_t>(StreamKind::ASCIIHex) == 1);
static_assert(static_cast<int32_t>(StreamKind::ASCII85) == 2);
static_assert(static_cast<int32_t>(StreamKind::LZW) == 3);
static_assert(static_cast<int32_t>(StreamKind::RunLength) == 4);
static_assert(static_cast<int32_t>(StreamKind::CCITTFax) == 5);
static_assert(static_cast<int32_t>(StreamKind::DCT) == 6);
static_assert(static_cast<int32_t>(StreamKind::Flate) == 7);
static_assert(static_cast<int32_t>(StreamKind::Empty) == 8);

class CPDFStream : public RefCounted {
 public:
  CPDFStream() = default;
  ~CPDFStream() override;

  virtual StreamKind getKind() const = 0;

  // Start reading from the beginning: empties the output window, then onReset().
  void reset();
  // End reading. A filter closes its input; the default does nothing.
  virtual void close() {}

  // The next byte (0-255) consumed, or -1 at the end.
  int nextChar() {
    if (next_ < end_) {
      return *next_++;
    }
    return refillAndNext();
  }
  // The next byte without consuming it, or -1 at the end.
  int peekChar() {
    if (next_ < end_) {
      return *next_;
    }
    return refillAndPeek();
  }
  // The next byte before row prediction; only the LZW and Flate filters answer. Others
  // report "Internal: called getRawChar() on non-predictor stream" and return -1.
  virtual int getRawChar();

  // Reads one line into buf: false when the stream is already at its end; otherwise copies
  // bytes up to LF, CR or CR LF (consumed, not stored) or the end, at most size - 1 of them
  // (a longer line goes on at the next call), and ends the buffer with NUL.
  bool readLine(char* buf, int size);
  // Up to n bytes into dst; the number read.
  size_t read(uint8_t* dst, size_t n);
  // Everything up to the end, at most maxBytes bytes.
  std::string readAll(size_t maxBytes);

  // Position of the next byte; a filter answers its input's position.
  virtual int64_t getPos() const = 0;
  // Moves to a byte position; only file-range streams can. Others report and stay.
  virtual void setPos(int64_t pos);

  // The source stream at the bottom of the chain (itself for a source stream).
  virtual SourceStream* getSource() = 0;
  // The stream dictionary held by the source; the shared null value when none.
  virtual const CPDFObject& getDict() const = 0;

 protected:
  // Called when the window is used up. Makes at least one more byte available and answers
  // true, or answers false at the end of the data.
  virtual bool refill() = 0;
  // Restarts the stream's own state (and, for a filter, its input).
  virtual void onReset() = 0;

  // Space for `capacity` bytes in the base's buffer; fill a prefix and commitOutput(n).
  uint8_t* beginOutput(size_t capacity);
  void commitOutput(size_t n);
  // Points the window at bytes the stream keeps itself; they must stay valid until the next
  // refill() or reset().
  void setOutput(const uint8_t* begin, const uint8_t* end);
  // Drops the bytes not read yet.
  void discardOutput() { next_ = end_ = nullptr; }
  // Bytes in the window not read yet.
  size_t outputRemaining() const { return static_cast<size_t>(end_ - next_); }

 private:
  int refillAndNext();
  int refillAndPeek();
  bool fillWindow();

  const uint8_t* next_ = nullptr;
  const uint8_t* end_ = nullptr;
  std::vector<uint8_t> out_;
};

}  // namespace qv
