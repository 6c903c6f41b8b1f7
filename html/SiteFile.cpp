#include "html/SiteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace qv {

namespace {

// Writes all of data to fd, retrying after interruptions and partial writes.
bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

bool WriteSiteFile(const std::filesystem::path& file, std::string_view text) {
  std::filesystem::path temporary = file;
  temporary += ".part";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  bool ok = writeAll(fd, ToCrLf(text));
  ok = (::close(fd) == 0) && ok;
  std::error_code error;
  if (ok) {
    std::filesystem::rename(temporary, file, error);
    ok = !error;
  }
  if (!ok) {
    std::filesystem::remove(temporary, error);
  }
  return ok;
}

bool AppendSiteFile(const std::filesystem::path& file, std::string_view text) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return false;
  }
  const off_t before = info.st_size;
  bool ok = writeAll(fd, ToCrLf(text));
  if (!ok) {
    // Cut the partial piece off, so the file still ends after the previous page.
    while (::ftruncate(fd, before) != 0 && errno == EINTR) {
    }
  }
  ok = (::close(fd) == 0) && ok;
  return ok;
}

}  // namespace qv
