#include "tests/support/TestPaths.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace qv::test {

namespace {

std::filesystem::path fromEnv(const char* name, const std::filesystem::path& fallback) {
  const char* value = std::getenv(name);
  return (value && *value) ? std::filesystem::path(value) : fallback;
}

}  // namespace

std::filesystem::path sourceDir() { return fromEnv("QV_SOURCE_DIR", QV_SOURCE_DIR_DEFAULT); }
std::filesystem::path binDir() { return fromEnv("QV_BIN_DIR", QV_BIN_DIR_DEFAULT); }
std::filesystem::path corpusDir() { return fromEnv("QV_CORPUS_DIR", sourceDir() / "tests" / "corpus"); }
std::filesystem::path fixturesDir() { return sourceDir() / "tests" / "fixtures"; }

ScratchDir::ScratchDir(const std::string& tag) {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << tag << '-' << std::hex << rd() << rd();
    auto candidate = std::filesystem::temp_directory_path() / name.str();
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qv::test
