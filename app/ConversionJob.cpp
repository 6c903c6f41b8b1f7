#include "app/ConversionJob.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <utility>

namespace qv {

namespace {

namespace fs = std::filesystem;

std::string format(const char* pattern, int a, int b, int c) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
  return buffer;
}

// Whole-number percentage of done out of total, as the progress bars show it.
int percentOf(int done, int total) {
  return total > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / total) : 100;
}

// Why a file that the source could not open was not converted.
std::string openFailureReason(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    return "the file does not exist";
  }
  if (fs::is_directory(file, ec)) {
    return "it is a folder, not a file";
  }
  std::ifstream probe(file, std::ios::binary);
  if (!probe) {
    return "the file cannot be read";
  }
  return "not a valid PDF file, or it needs a password";
}

}  // namespace

JobFileNames DeriveJobFileNames(const fs::path& file) {
  JobFileNames names;
  names.documentName = file.stem().string();
  names.outputFolder = file.parent_path() / names.documentName;
  names.imagesFolder = names.outputFolder / "images";
  return names;
}

fs::path PageFilePath(const fs::path& outputFolder, int pageNumber, int firstPage) {
  char name[32];
  std::snprintf(name, sizeof name, "pg_%04d.htm", pageNumber - firstPage + 1);
  return outputFolder / name;
}

std::optional<PageRange> ComputePageRange(const ConvertOptions& options, int pageCount) {
  PageRange range{1, pageCount};
  if (options.pageRange == 1) {
    range.first = options.startPage < 1 ? 1 : options.startPage;
    range.last = pageCount < options.endPage ? pageCount : options.endPage;
  }
  if (range.last < range.first) {
    return std::nullopt;
  }
  return range;
}

std::string PageRangeMessage(const fs::path& file, int pageCount) {
  return "The '" + file.string() + "' file only contain " + std::to_string(pageCount) +
         " pages, please correct the page range in the setting dialog and try again.";
}

ConversionJob::ConversionJob(ConvertOptions options, std::vector<JobFile> files,
                             JobSettings settings, DocumentSource& source, SiteOutput& site,
                             JobObserver& observer)
    : options_(std::move(options)),
      files_(std::move(files)),
      settings_(std::move(settings)),
      source_(source),
      site_(site),
      observer_(observer) {}

ConversionJob::~ConversionJob() {
  requestStop();
  if (worker_.joinable()) {
    worker_.join();
  }
}

void ConversionJob::start() {
  if (worker_.joinable()) {
    return;  // one batch per job
  }
  observer_.controlsEnabled(false);
  worker_ = std::thread([this] { result_ = run(); });
}

JobResult ConversionJob::runHere() {
  observer_.controlsEnabled(false);
  result_ = run();
  return result_;
}

JobResult ConversionJob::wait() {
  if (worker_.joinable()) {
    worker_.join();
  }
  return result_;
}

JobResult ConversionJob::run() {
  JobResult result;
  const int n = static_cast<int>(files_.size());
  if (n == 0) {
    observer_.controlsEnabled(true);
    return result;
  }
  for (int k = 1; k <= n; ++k) {
    if (stopRequested()) {
      result.outcome = JobOutcome::Stopped;
      endBatch("Convert stopped.");
      return result;
    }
    const JobFile& file = files_[k - 1];
    JobFileNames names = DeriveJobFileNames(file.path);
    std::unique_ptr<SourceDocument> document =
        source_.open(file.path, file.ownerPassword, file.userPassword, settings_.resolution);
    if (!document) {
      // The output folder is only made for a document that opened, so a failed file leaves
      // nothing behind that looks like a result.
      ++result.skipped;
      std::string reason = source_.whyNotOpened(file.path, file.ownerPassword, file.userPassword);
      observer_.fileSkipped(file.path, reason.empty() ? openFailureReason(file.path) : reason);
    } else if (!convertDocument(file, *document, names, result)) {
      if (result.outcome == JobOutcome::RangeError) {
        for (int rest = k + 1; rest <= n; ++rest) {
          ++result.skipped;
          observer_.fileSkipped(files_[rest - 1].path,
                                "not converted: the batch ended at a page-range error");
        }
        document.reset();
        observer_.controlsEnabled(true);
        site_.finishBatch();
        return result;
      }
      result.outcome = JobOutcome::Stopped;
      document.reset();
      endBatch("Convert stopped.");
      return result;
    }
    document.reset();
    observer_.fileProgress(percentOf(k, n), format("File %d of %d, %d%%", k, n, percentOf(k, n)));
  }
  result.outcome = JobOutcome::Finished;
  endBatch("Convert finished.");
  reportResult();
  return result;
}

bool ConversionJob::convertDocument(const JobFile& file, SourceDocument& document,
                                    const JobFileNames& names, JobResult& result) {
  const int pages = document.pageCount();
  std::optional<PageRange> range = ComputePageRange(options_, pages);
  if (!range) {
    std::string text = PageRangeMessage(file.path, pages);
    observer_.message(text);
    ++result.skipped;
    observer_.fileSkipped(file.path, text);
    result.outcome = JobOutcome::RangeError;
    return false;
  }
  std::error_code ec;
  fs::create_directory(names.outputFolder, ec);  // one level; a failure shows in the writers

  const int first = range->first;
  const int last = range->last;
  site_.writeFramesetPage(options_, names.outputFolder, names.documentName, first, last);
  site_.writePageIndexPage(options_, names.outputFolder, names.documentName, first, last);
  site_.writeNavigationPage(options_, names.outputFolder, names.documentName, first, last);
  site_.writeBookmarkPage(options_, document, names.outputFolder, names.documentName, first, last);
  copyNavigationImages(names.imagesFolder);

  const int count = last - first + 1;
  for (int p = first; p <= last; ++p) {
    if (stopRequested()) {
      return false;
    }
    const int percent = percentOf(p - first + 1, count);
    observer_.pageProgress(percent, format("Page %d of %d, %d%%", p, count, percent));
    std::unique_ptr<PDFPageRecord> record = document.page(p);
    if (!record) {
      continue;  // a page that cannot be extracted gets no page file
    }
    // The record names its own page; a record that names another page out of the range is
    // filed under the page that was asked for.
    int number =
        (record->pageNumber >= first && record->pageNumber <= last) ? record->pageNumber : p;
    // Links are handed to the page writer while "Hyperlinks" shows "Enable" (0).
    std::unique_ptr<PDFLinkAreaList> links =
        options_.hyperlinks == 0 ? document.pageLinks(number) : nullptr;
    site_.writePage(options_, *record, links.get(), PageFilePath(names.outputFolder, number, first),
                    first);
  }
  if (options_.outputMode == 0 && options_.frameStructure == 2) {
    removeSingleDocumentLeftovers(names.outputFolder);
  }
  ++result.converted;
  return true;
}

void ConversionJob::copyNavigationImages(const fs::path& imagesFolder) {
  std::error_code ec;
  fs::create_directory(imagesFolder, ec);
  fs::path source = settings_.appDirectory / "images";
  if (!fs::is_directory(source, ec)) {
    return;
  }
  fs::copy(source, imagesFolder, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
           ec);
}

void ConversionJob::removeSingleDocumentLeftovers(const fs::path& outputFolder) {
  // Every page was appended to index.htm; what matches pg_*.htm now are the side pages.
  std::error_code ec;
  std::vector<fs::path> leftovers;
  for (fs::directory_iterator it(outputFolder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (it->is_regular_file(ec) && name.size() >= 7 && name.rfind("pg_", 0) == 0 &&
        name.compare(name.size() - 4, 4, ".htm") == 0) {
      leftovers.push_back(it->path());
    }
  }
  for (const fs::path& file : leftovers) {
    observer_.discardFile(file);
  }
}

void ConversionJob::endBatch(const std::string& caption) {
  observer_.controlsEnabled(true);
  observer_.pageProgress(0, caption);
  observer_.fileProgress(0, caption);
  site_.finishBatch();
}

void ConversionJob::reportResult() {
  fs::path folder = DeriveJobFileNames(files_.front().path).outputFolder;
  fs::path target;
  bool isFolder = false;
  if (files_.size() > 1) {
    target = folder;
    isFolder = true;
  } else if (options_.frameStructure == 0 || options_.frameStructure == 1) {
    target = folder / "index.htm";
  } else if (options_.frameStructure == 2) {
    target = folder / (options_.outputMode == 1 ? "pg_0001.htm" : "index.htm");
  }
  std::error_code ec;
  if (!target.empty() && fs::exists(target, ec)) {
    observer_.resultReady(target, isFolder);
  }
}

}  // namespace qv
