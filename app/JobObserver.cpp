#include "app/JobObserver.h"

#include <system_error>

namespace qv {

void JobObserver::discardFile(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
}

}  // namespace qv
