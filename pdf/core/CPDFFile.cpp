#include "pdf/core/CPDFFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qv {

RefPtr<CPDFFile> CPDFFile::open(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  RefPtr<CPDFFile> file = RefPtr<CPDFFile>::adopt(new CPDFFile());
  file->fd_ = fd;
  file->size_ = st.st_size;
  return file;
}

RefPtr<CPDFFile> CPDFFile::fromBytes(std::string bytes) {
  RefPtr<CPDFFile> file = RefPtr<CPDFFile>::adopt(new CPDFFile());
  file->size_ = static_cast<int64_t>(bytes.size());
  file->bytes_ = std::move(bytes);
  return file;
}

CPDFFile::~CPDFFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

size_t CPDFFile::readAt(int64_t offset, uint8_t* dst, size_t n) const {
  if (offset < 0 || offset >= size_ || n == 0) {
    return 0;
  }
  n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n), size_ - offset));
  if (fd_ < 0) {
    std::memcpy(dst, bytes_.data() + offset, n);
    return n;
  }
  size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, dst + done, n - done, offset + static_cast<int64_t>(done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;
    }
    done += static_cast<size_t>(got);
  }
  return done;
}

}  // namespace qv
