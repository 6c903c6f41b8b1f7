#pragma once

// How a front end follows a conversion job. Every call comes from the job's worker thread
// (or from the caller's thread for ConversionJob::runHere); a window front end forwards
// them to its own thread. The observer must outlive the job.

#include <filesystem>
#include <string>

namespace qv {

class JobObserver {
 public:
  virtual ~JobObserver() = default;

  // The list commands and Start Convert: disabled when a job starts, enabled again on every
  // end path (finished, stopped, page-range error, nothing selected).
  virtual void controlsEnabled(bool /*enabled*/) {}
  // The page bar ("Current") and the file bar ("Total"): 0..100 and the caption inside.
  virtual void pageProgress(int /*percent*/, const std::string& /*caption*/) {}
  virtual void fileProgress(int /*percent*/, const std::string& /*caption*/) {}
  // A message for the user, shown with an OK button.
  virtual void message(const std::string& /*text*/) {}
  // A file that was not converted, with the reason.
  virtual void fileSkipped(const std::filesystem::path& /*file*/, const std::string& /*reason*/) {}
  // The job's result to show: a page to open in the browser, or (folder true) an output
  // folder to show in the file manager. The front end decides whether to open it.
  virtual void resultReady(const std::filesystem::path& /*target*/, bool /*folder*/) {}
  // Removes a leftover file of single-document mode; a window may move it to the trash.
  // The default deletes it.
  virtual void discardFile(const std::filesystem::path& file);
};

}  // namespace qv
