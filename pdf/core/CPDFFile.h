#pragma once

// The bytes of an open PDF document: a file on disk read with positioned reads, or bytes in
// memory. Shared by reference count between the document and every stream over it. Reads
// never change shared state, so streams of one file can be read in any order.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "pdf/core/RefCounted.h"

namespace qv {

class CPDFFile : public RefCounted {
 public:
  // Null when the file cannot be opened for reading.
  static RefPtr<CPDFFile> open(const std::filesystem::path& path);
  static RefPtr<CPDFFile> fromBytes(std::string bytes);

  ~CPDFFile() override;

  int64_t size() const { return size_; }
  // Up to n bytes from `offset` into dst; the number read (0 at or past the end).
  size_t readAt(int64_t offset, uint8_t* dst, size_t n) const;

 private:
  CPDFFile() = default;

  int fd_ = -1;
  std::string bytes_;
  int64_t size_ = 0;
};

}  // namespace qv
