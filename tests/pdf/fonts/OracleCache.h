#pragma once

// Runs a reference script with Debian's Python once and keeps its output beside the build,
// so later runs read the file instead of running the oracle again. The output is made again
// when the script or any input file is newer than the kept file.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qv::test {

// Returns the oracle's output lines split at tabs; empty when the oracle could not run.
inline std::vector<std::vector<std::string>> cachedOracleRows(
    const std::filesystem::path& script, const std::string& arguments, const std::string& cacheName,
    const std::vector<std::filesystem::path>& inputs = {}) {
  namespace fs = std::filesystem;
  const fs::path cache = fs::current_path() / cacheName;
  std::error_code ec;
  bool stale = !fs::exists(cache);
  for (const fs::path& input : inputs) {
    stale = stale || fs::last_write_time(cache, ec) < fs::last_write_time(input, ec);
  }
  stale = stale || fs::last_write_time(cache, ec) < fs::last_write_time(script, ec);
  if (stale) {
    const fs::path temp = cache.string() + "." + std::to_string(::getpid());
    const std::string command =
        "/usr/bin/python3 " + script.string() + " " + arguments + " > " + temp.string();
    if (std::system(command.c_str()) == 0) {
      fs::rename(temp, cache, ec);
    } else {
      fs::remove(temp, ec);
    }
  }
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(cache);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) {
      fields.push_back(field);
    }
    if (!line.empty() && line.back() == '\t') {
      fields.emplace_back();
    }
    rows.push_back(std::move(fields));
  }
  return rows;
}

}  // namespace qv::test
