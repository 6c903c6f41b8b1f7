#include "cli/CliObserver.h"

#include <cstdio>

#include "app/DesktopOpener.h"

namespace qv {

void CliObserver::showCaption(const std::string& caption) {
  if (!showCaptions_) {
    return;
  }
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "\r\033[K%s", caption.c_str());
  std::fflush(stderr);
  captionShown_ = true;
}

void CliObserver::pageProgress(int /*percent*/, const std::string& caption) {
  // While a batch runs the line shows the file being converted and its page.
  if (fileCaption_.empty() || caption.rfind("Page ", 0) != 0) {
    showCaption(caption);
  } else {
    showCaption(fileCaption_ + " | " + caption);
  }
}

void CliObserver::fileProgress(int /*percent*/, const std::string& caption) {
  fileCaption_ = caption.rfind("File ", 0) == 0 ? caption : std::string();
  showCaption(caption);
}

void CliObserver::message(const std::string& text) {
  printLine("quorvane-cli: " + text);
}

void CliObserver::fileSkipped(const std::filesystem::path& file, const std::string& reason) {
  printLine("quorvane-cli: skipped " + file.string() + ": " + reason);
}

void CliObserver::resultReady(const std::filesystem::path& target, bool /*folder*/) {
  if (openResult_) {
    OpenWithDesktop(target);  // a failure to open is not an error
  }
}

void CliObserver::printLine(const std::string& line) {
  std::lock_guard lock(mutex_);
  if (captionShown_) {
    std::fputs("\r\033[K", stderr);
    captionShown_ = false;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

void CliObserver::finishCaptions() {
  std::lock_guard lock(mutex_);
  if (captionShown_) {
    std::fputs("\n", stderr);
    captionShown_ = false;
  }
}

}  // namespace qv
