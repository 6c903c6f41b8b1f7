#include "app/InputFileList.h"

#include <algorithm>
#include <system_error>

namespace qv {

bool InputFileList::isPdfName(const std::filesystem::path& file) {
  std::string name = file.filename().string();
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot != 4) {
    return false;
  }
  std::string extension = name.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
  return extension == ".pdf";
}

bool InputFileList::addFile(const std::filesystem::path& file) {
  if (files_.size() >= kMaxFiles || std::find(files_.begin(), files_.end(), file) != files_.end()) {
    return false;
  }
  files_.push_back(file);
  return true;
}

size_t InputFileList::importFolder(const std::filesystem::path& folder) {
  return importFolder(folder, 0);
}

size_t InputFileList::importFolder(const std::filesystem::path& folder, int depth) {
  if (depth >= kMaxFolderDepth) {
    return 0;
  }
  std::error_code ec;
  std::vector<std::filesystem::directory_entry> entries;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    entries.push_back(*it);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
  size_t added = 0;
  for (const auto& entry : entries) {
    if (entry.is_symlink(ec) && entry.is_directory(ec)) {
      continue;
    }
    if (entry.is_directory(ec)) {
      added += importFolder(entry.path(), depth + 1);
    } else if (isPdfName(entry.path()) && addFile(entry.path())) {
      ++added;
    }
  }
  return added;
}

}  // namespace qv
