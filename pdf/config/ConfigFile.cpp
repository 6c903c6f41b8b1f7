#include "pdf/config/ConfigFile.h"

#include <utility>

#include "pdf/config/CharMapLimits.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

ConfigFile::ConfigFile(ConfigFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), path_(std::move(other.path_)) {}

ConfigFile& ConfigFile::operator=(ConfigFile&& other) noexcept {
  if (this != &other) {
    if (file_) {
      std::fclose(file_);
    }
    file_ = std::exchange(other.file_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

ConfigFile::~ConfigFile() {
  if (file_) {
    std::fclose(file_);
  }
}

std::optional<std::string> ConfigFile::readAll() {
  if (!file_) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    size_t n = std::fread(buffer, 1, sizeof buffer, file_);
    if (n == 0) {
      break;
    }
    if (bytes.size() + n > kMaxConfigDataFileSize) {
      reportError(-1, "File '%s' is too large", path_.c_str());
      return std::nullopt;
    }
    bytes.append(buffer, n);
  }
  if (std::ferror(file_)) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace qv
