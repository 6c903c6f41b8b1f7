#pragma once

// Where tests find the source tree, the built programs and the PDF corpus, and a
// scratch folder of their own. CTest passes the locations in the environment.

#include <filesystem>
#include <string>

namespace qv::test {

std::filesystem::path sourceDir();
std::filesystem::path binDir();
std::filesystem::path corpusDir();
std::filesystem::path fixturesDir();

// A fresh, empty folder under the system's temporary folder, removed when the object dies.
class ScratchDir {
public:
  explicit ScratchDir(const std::string& tag = "qv-test");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace qv::test
