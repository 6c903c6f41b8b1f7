#pragma once

// The batch conversion: for each file, open it, decide the page range, write the side
// pages, copy the navigation images, convert every page of the range and tidy the output
// folder; report progress, skipped files and the result to open through a JobObserver.
//
// The job owns a copy of the options taken when it is made, so edits in a front end during
// the batch never race with the worker. It borrows the document source, the site output
// and the observer, which must outlive it. start() runs the batch on a worker thread;
// requestStop() may be called from any thread and is noticed before the next file or page
// (the page under way always completes, so no page file is left half-written). The
// destructor requests a stop and waits for the worker.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/DocumentSource.h"
#include "app/JobObserver.h"
#include "app/SiteOutput.h"
#include "app/options/ConvertOptions.h"

namespace qv {

struct JobFile {
  std::filesystem::path path;
  std::optional<std::string> ownerPassword;
  std::optional<std::string> userPassword;
};

struct JobSettings {
  std::filesystem::path appDirectory;  // holds images/, the navigation images
  int resolution = 72;
};

enum class JobOutcome {
  NothingSelected,  // no file to convert
  Finished,         // every file was handled (some may have been skipped)
  Stopped,          // a stop request ended the batch early
  RangeError,       // a file's page range lay outside the document; the batch ended
};

struct JobResult {
  JobOutcome outcome = JobOutcome::NothingSelected;
  int converted = 0;  // files whose pages were written
  int skipped = 0;    // files not converted (including those left by a range error)
};

// The names derived from a file's path.
struct JobFileNames {
  std::string documentName;            // file name without its extension
  std::filesystem::path outputFolder;  // beside the file, named after the document
  std::filesystem::path imagesFolder;  // outputFolder / "images"
};
JobFileNames DeriveJobFileNames(const std::filesystem::path& file);

// The page file of a page: "pg_%04d.htm", numbered from 1 at the first page of the range.
std::filesystem::path PageFilePath(const std::filesystem::path& outputFolder, int pageNumber,
                                   int firstPage);

// The page range of a document; none when the last page lies before the first.
struct PageRange {
  int first = 1;
  int last = 0;
};
std::optional<PageRange> ComputePageRange(const ConvertOptions& options, int pageCount);

// The text shown when the page range lies outside a document.
std::string PageRangeMessage(const std::filesystem::path& file, int pageCount);

class ConversionJob {
 public:
  ConversionJob(ConvertOptions options, std::vector<JobFile> files, JobSettings settings,
                DocumentSource& source, SiteOutput& site, JobObserver& observer);
  ~ConversionJob();
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // Disables the controls and starts the worker thread. Call once.
  void start();
  // Runs the batch on the calling thread (the command line and tests). Call once.
  JobResult runHere();
  // Asks the batch to stop before its next file or page; returns at once.
  void requestStop() { stopRequested_.store(true); }
  bool stopRequested() const { return stopRequested_.load(); }
  // Waits for the worker started by start() and returns the result.
  JobResult wait();

 private:
  JobResult run();
  // Converts one opened document; false when the batch must end (stop or range error).
  bool convertDocument(const JobFile& file, SourceDocument& document, const JobFileNames& names,
                       JobResult& result);
  void copyNavigationImages(const std::filesystem::path& imagesFolder);
  void removeSingleDocumentLeftovers(const std::filesystem::path& outputFolder);
  void endBatch(const std::string& caption);
  void reportResult();

  ConvertOptions options_;
  std::vector<JobFile> files_;
  JobSettings settings_;
  DocumentSource& source_;
  SiteOutput& site_;
  JobObserver& observer_;
  std::atomic<bool> stopRequested_{false};
  std::thread worker_;
  JobResult result_;
};

}  // namespace qv
