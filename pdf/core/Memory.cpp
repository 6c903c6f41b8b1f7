#include "pdf/core/Memory.h"

#include <unistd.h>

#include <cstdlib>
#include <new>

namespace qv {

void exitOutOfMemory() {
  // write() rather than stdio: nothing here may allocate.
  static constexpr char kMessage[] = "Out of memory\n";
  [[maybe_unused]] ssize_t written = ::write(2, kMessage, sizeof kMessage - 1);
  std::_Exit(1);
}

void installOutOfMemoryHandler() {
  std::set_new_handler([] { exitOutOfMemory(); });
}

}  // namespace qv
