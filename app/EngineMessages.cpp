#include "app/EngineMessages.h"

#include <cstdio>
#include <string>

namespace qv {

ErrorSink StandardErrorSink() {
  return [](int64_t pos, std::string_view message) {
    std::string line = "Error";
    if (pos >= 0) {
      line += " (" + std::to_string(pos) + ")";
    }
    line += ": ";
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
  };
}

}  // namespace qv
