#pragma once

// The list of PDF files to convert, in the order they were added, and the rules by which
// files and folders enter it: a file name counts as a PDF when the part from its last "."
// on is ".pdf" in any case; a folder is imported depth first with its sub-folders, each
// folder's entries in name order. The same path is never listed twice.
//
// A plain value owned by its front end; used on one thread.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace qv {

class InputFileList {
 public:
  // Folder nesting followed by an import; deeper folders are not entered (hostile trees).
  static constexpr int kMaxFolderDepth = 64;
  // Files one list takes; further files are not added.
  static constexpr size_t kMaxFiles = 100000;

  // True when the file name ends in ".pdf" (any case) after its last ".".
  static bool isPdfName(const std::filesystem::path& file);

  // Adds the path; false when it is already listed (compared exactly) or the list is full.
  bool addFile(const std::filesystem::path& file);

  // Adds every PDF file below the folder; returns the number of files added. Links to
  // folders are not followed, so a tree with a loop ends.
  size_t importFolder(const std::filesystem::path& folder);

  const std::vector<std::filesystem::path>& files() const { return files_; }

 private:
  size_t importFolder(const std::filesystem::path& folder, int depth);

  std::vector<std::filesystem::path> files_;
};

}  // namespace qv
