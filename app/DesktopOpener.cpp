#include "app/DesktopOpener.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

namespace qv {

namespace {

// The full path of a program found on PATH; empty when none is found.
std::string findProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + std::string(name);
    if (::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return {};
}

}  // namespace

bool OpenWithDesktop(const std::filesystem::path& target) {
  std::string program = findProgram("xdg-open");
  if (program.empty()) {
    return false;
  }
  std::string argument = target.string();
  // Everything the child needs is prepared before fork: after it only async-signal-safe
  // calls run. The middle child exits at once so the opener is never our zombie.
  char* const argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = ::fork();
  if (child < 0) {
    return false;
  }
  if (child == 0) {
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      int devNull = ::open("/dev/null", O_RDWR);
      if (devNull >= 0) {
        ::dup2(devNull, 0);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
      }
      ::execv(argv[0], argv);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace qv
