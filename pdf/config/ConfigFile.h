#pragma once

// An open data file of the engine configuration: a C file handle with the path it was opened
// under. Move-only; the handle is closed when the object dies. Handed out by CPDFConfig's
// lookups and consumed by whoever asked, on the same thread.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace qv {

class ConfigFile {
 public:
  ConfigFile() = default;
  ConfigFile(std::FILE* file, std::filesystem::path path) : file_(file), path_(std::move(path)) {}
  ConfigFile(ConfigFile&& other) noexcept;
  ConfigFile& operator=(ConfigFile&& other) noexcept;
  ConfigFile(const ConfigFile&) = delete;
  ConfigFile& operator=(const ConfigFile&) = delete;
  ~ConfigFile();

  explicit operator bool() const { return file_ != nullptr; }
  std::FILE* get() const { return file_; }
  const std::filesystem::path& path() const { return path_; }

  // The rest of the file's bytes; nothing when reading fails or the file is longer than
  // kMaxConfigDataFileSize (reported).
  std::optional<std::string> readAll();

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
};

}  // namespace qv
