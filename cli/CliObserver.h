#pragma once

// Follows a conversion job on the terminal: skipped files and messages on standard error,
// progress captions on standard error when it is a terminal, and the result opened only
// when asked (--open). Calls come from the job's worker thread; output is serialised.

#include <mutex>
#include <string>

#include "app/JobObserver.h"

namespace qv {

class CliObserver : public JobObserver {
 public:
  CliObserver(bool showCaptions, bool openResult)
      : showCaptions_(showCaptions), openResult_(openResult) {}

  void pageProgress(int percent, const std::string& caption) override;
  void fileProgress(int percent, const std::string& caption) override;
  void message(const std::string& text) override;
  void fileSkipped(const std::filesystem::path& file, const std::string& reason) override;
  void resultReady(const std::filesystem::path& target, bool folder) override;

  // Prints a line on standard error, clearing a caption first.
  void printLine(const std::string& line);
  // Ends the caption line, if one is shown.
  void finishCaptions();

 private:
  void showCaption(const std::string& caption);

  std::mutex mutex_;
  bool showCaptions_;
  bool openResult_;
  bool captionShown_ = false;
  std::string fileCaption_;
};

}  // namespace qv
