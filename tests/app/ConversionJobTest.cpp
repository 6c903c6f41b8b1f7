#include "app/ConversionJob.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Records every call of the job, in order, as short text lines.
struct EventLog {
  std::mutex mutex;
  std::vector<std::string> lines;
  void add(std::string line) {
    std::lock_guard lock(mutex);
    lines.push_back(std::move(line));
  }
  std::vector<std::string> matching(const std::string& prefix) {
    std::vector<std::string> out;
    for (auto& line : lines) {
      if (line.rfind(prefix, 0) == 0) {
        out.push_back(line);
      }
    }
    return out;
  }
};

class FakeDocument : public SourceDocument {
 public:
  FakeDocument(EventLog& log, int pages, std::function<void(int)> onPage)
      : log_(log), pages_(pages), onPage_(std::move(onPage)) {}
  ~FakeDocument() override { log_.add("close"); }
  int pageCount() override { return pages_; }
  std::unique_ptr<PDFPageRecord> page(int number) override {
    log_.add("page " + std::to_string(number));
    if (onPage_) {
      onPage_(number);
    }
    auto record = std::make_unique<PDFPageRecord>();
    record->pageNumber = number;
    record->pageCount = pages_;
    return record;
  }
  std::unique_ptr<PDFLinkAreaList> pageLinks(int number) override {
    log_.add("links " + std::to_string(number));
    return std::make_unique<PDFLinkAreaList>();
  }

 private:
  EventLog& log_;
  int pages_;
  std::function<void(int)> onPage_;
};

// Documents by file name: their page count; a name that is not listed does not open.
class FakeSource : public DocumentSource {
 public:
  explicit FakeSource(EventLog& log) : log_(log) {}
  std::map<std::string, int> pages;
  std::function<void(int)> onPage;
  std::unique_ptr<SourceDocument> open(const fs::path& file,
                                       const std::optional<std::string>& owner,
                                       const std::optional<std::string>& user,
                                       int resolution) override {
    log_.add("open " + file.filename().string() + " " + owner.value_or("-") + " " +
             user.value_or("-") + " " + std::to_string(resolution));
    auto found = pages.find(file.filename().string());
    if (found == pages.end()) {
      return nullptr;
    }
    return std::make_unique<FakeDocument>(log_, found->second, onPage);
  }

 private:
  EventLog& log_;
};

// Writes empty files where the real writers would write pages, and logs each call.
class FakeSite : public SiteOutput {
 public:
  explicit FakeSite(EventLog& log) : log_(log) {}
  void writeFramesetPage(const ConvertOptions&, const fs::path& folder, const std::string& name,
                         int first, int last) override {
    side("index.htm", folder, name, first, last);
  }
  void writePageIndexPage(const ConvertOptions&, const fs::path& folder, const std::string& name,
                          int first, int last) override {
    side("pg_index.htm", folder, name, first, last);
  }
  void writeNavigationPage(const ConvertOptions&, const fs::path& folder, const std::string& name,
                           int first, int last) override {
    side("pg_nav.htm", folder, name, first, last);
  }
  void writeBookmarkPage(const ConvertOptions&, SourceDocument&, const fs::path& folder,
                         const std::string& name, int first, int last) override {
    side("pg_bmark.htm", folder, name, first, last);
  }
  void writePage(const ConvertOptions&, PDFPageRecord& record, const PDFLinkAreaList* links,
                 const fs::path& pageFile, int firstPage) override {
    log_.add("write " + pageFile.filename().string() + " page " +
             std::to_string(record.pageNumber) + " first " + std::to_string(firstPage) +
             (links ? " links" : ""));
    test::writeFile(pageFile, "page");
  }
  void finishBatch() override { log_.add("finish"); }

 private:
  void side(const char* file, const fs::path& folder, const std::string& name, int first,
            int last) {
    log_.add(std::string("side ") + file + " " + name + " " + std::to_string(first) + ".." +
             std::to_string(last));
    test::writeFile(folder / file, "");
  }
  EventLog& log_;
};

class RecordingObserver : public JobObserver {
 public:
  explicit RecordingObserver(EventLog& log) : log_(log) {}
  void controlsEnabled(bool enabled) override { log_.add(enabled ? "enable" : "disable"); }
  void pageProgress(int percent, const std::string& caption) override {
    log_.add("pagebar " + std::to_string(percent) + " " + caption);
  }
  void fileProgress(int percent, const std::string& caption) override {
    log_.add("filebar " + std::to_string(percent) + " " + caption);
  }
  void message(const std::string& text) override { log_.add("message " + text); }
  void fileSkipped(const fs::path& file, const std::string& reason) override {
    log_.add("skipped " + file.filename().string() + ": " + reason);
  }
  void resultReady(const fs::path& target, bool folder) override {
    log_.add(std::string(folder ? "explore " : "open ") + target.string());
  }

 private:
  EventLog& log_;
};

class ConversionJobTest : public ::testing::Test {
 protected:
  std::vector<JobFile> files(std::initializer_list<const char*> names) {
    std::vector<JobFile> out;
    for (const char* name : names) {
      out.push_back({dir_ / name, std::nullopt, std::nullopt});
    }
    return out;
  }
  JobResult run(const ConvertOptions& options, std::vector<JobFile> list) {
    ConversionJob job(options, std::move(list), {dir_ / "app"}, source_, site_, observer_);
    job_ = &job;
    JobResult result = job.runHere();
    job_ = nullptr;
    return result;
  }

  test::ScratchDir dir_;
  EventLog log_;
  FakeSource source_{log_};
  FakeSite site_{log_};
  RecordingObserver observer_{log_};
  ConversionJob* job_ = nullptr;
};

TEST_F(ConversionJobTest, RangeOfTenPageDocument) {
  source_.pages["report.pdf"] = 10;
  ConvertOptions options;
  options.pageRange = 1;
  options.startPage = 3;
  options.endPage = 5;
  JobResult result = run(options, files({"report.pdf"}));
  EXPECT_EQ(result.outcome, JobOutcome::Finished);
  EXPECT_EQ(result.converted, 1);
  fs::path out = dir_ / "report";
  std::vector<std::string> expected = {
      "disable",
      "open report.pdf - - 72",
      "side index.htm report 3..5",
      "side pg_index.htm report 3..5",
      "side pg_nav.htm report 3..5",
      "side pg_bmark.htm report 3..5",
      "pagebar 33 Page 3 of 3, 33%",
      "page 3",
      "links 3",
      "write pg_0001.htm page 3 first 3 links",
      "pagebar 66 Page 4 of 3, 66%",
      "page 4",
      "links 4",
      "write pg_0002.htm page 4 first 3 links",
      "pagebar 100 Page 5 of 3, 100%",
      "page 5",
      "links 5",
      "write pg_0003.htm page 5 first 3 links",
      "close",
      "filebar 100 File 1 of 1, 100%",
      "enable",
      "pagebar 0 Convert finished.",
      "filebar 0 Convert finished.",
      "finish",
      "open " + (out / "index.htm").string(),
  };
  EXPECT_EQ(log_.lines, expected);
  EXPECT_TRUE(fs::is_directory(out / "images"));
}

TEST(PageRangeTest, Rules) {
  struct Case {
    int32_t pageRange, startPage, endPage;
    int pages;
    int first, last;  // last < first: no range
  };
  const Case cases[] = {
      {0, 4, 5, 7, 1, 7},  {1, 0, 1000, 7, 1, 7}, {1, -3, 2, 7, 1, 2}, {1, 9, 1000, 7, 1, 0},
      {1, 5, 3, 10, 1, 0}, {0, 1, 1, 0, 1, 0},    {2, 4, 5, 6, 1, 6},  // an unknown choice converts
                                                                       // every page
  };
  for (const Case& c : cases) {
    ConvertOptions options;
    options.pageRange = c.pageRange;
    options.startPage = c.startPage;
    options.endPage = c.endPage;
    auto range = ComputePageRange(options, c.pages);
    if (c.last < c.first) {
      EXPECT_FALSE(range) << c.startPage << ".." << c.endPage << " of " << c.pages;
    } else {
      ASSERT_TRUE(range);
      EXPECT_EQ(range->first, c.first);
      EXPECT_EQ(range->last, c.last);
    }
  }
  EXPECT_EQ(PageFilePath("/o", 12, 3), fs::path("/o/pg_0010.htm"));
  auto names = DeriveJobFileNames("/docs/report.v2.PDF");
  EXPECT_EQ(names.documentName, "report.v2");
  EXPECT_EQ(names.outputFolder, fs::path("/docs/report.v2"));
  EXPECT_EQ(names.imagesFolder, fs::path("/docs/report.v2/images"));
}

TEST_F(ConversionJobTest, RangeErrorEndsTheBatch) {
  source_.pages["a.pdf"] = 7;
  source_.pages["b.pdf"] = 20;
  ConvertOptions options;
  options.pageRange = 1;
  options.startPage = 9;
  JobResult result = run(options, files({"a.pdf", "b.pdf"}));
  EXPECT_EQ(result.outcome, JobOutcome::RangeError);
  EXPECT_EQ(result.skipped, 2);
  std::string text = "The '" + (dir_ / "a.pdf").string() +
                     "' file only contain 7 pages, please correct the page range in the setting "
                     "dialog and try again.";
  std::vector<std::string> expected = {
      "disable",
      "open a.pdf - - 72",
      "message " + text,
      "skipped a.pdf: " + text,
      "skipped b.pdf: not converted: the batch ended at a page-range error",
      "close",
      "enable",
      "finish",
  };
  EXPECT_EQ(log_.lines, expected);
  EXPECT_FALSE(fs::exists(dir_ / "a"));
}

TEST_F(ConversionJobTest, StopDuringAPageFinishesItAndStartsNothingElse) {
  source_.pages["a.pdf"] = 5;
  source_.pages["b.pdf"] = 5;
  source_.onPage = [this](int page) {
    if (page == 2) {
      job_->requestStop();
    }
  };
  JobResult result = run(ConvertOptions{}, files({"a.pdf", "b.pdf"}));
  EXPECT_EQ(result.outcome, JobOutcome::Stopped);
  EXPECT_EQ(log_.matching("page "), (std::vector<std::string>{"page 1", "page 2"}));
  EXPECT_EQ(log_.matching("write ").size(), 2u);
  EXPECT_EQ(log_.matching("open ").size(), 1u);
  EXPECT_EQ(log_.matching("explore ").size(), 0u);
  std::vector<std::string> tail(log_.lines.end() - 5, log_.lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"close", "enable", "pagebar 0 Convert stopped.",
                                            "filebar 0 Convert stopped.", "finish"}));
}

TEST_F(ConversionJobTest, StopDuringTheLastPageStillFinishes) {
  source_.pages["a.pdf"] = 1;
  source_.pages["b.pdf"] = 2;
  source_.onPage = [this](int page) {
    if (page == 2) {
      job_->requestStop();
    }
  };
  JobResult result = run(ConvertOptions{}, files({"a.pdf", "b.pdf"}));
  EXPECT_EQ(result.outcome, JobOutcome::Finished);
  EXPECT_EQ(result.converted, 2);
  EXPECT_EQ(log_.lines.back(), "explore " + (dir_ / "a").string());
}

TEST_F(ConversionJobTest, UnopenableFileIsSkippedWithItsReason) {
  source_.pages["good.pdf"] = 1;
  test::writeFile(dir_ / "bad.pdf", "not a pdf");
  JobFile withPasswords{dir_ / "good.pdf", "own", "use"};
  auto list = files({"missing.pdf", "bad.pdf"});
  list.push_back(withPasswords);
  JobResult result = run(ConvertOptions{}, list);
  EXPECT_EQ(result.outcome, JobOutcome::Finished);
  EXPECT_EQ(result.converted, 1);
  EXPECT_EQ(result.skipped, 2);
  EXPECT_EQ(log_.matching("skipped "),
            (std::vector<std::string>{"skipped missing.pdf: the file does not exist",
                                      "skipped bad.pdf: not a valid PDF file, or it needs a "
                                      "password"}));
  EXPECT_EQ(log_.matching("open good"), (std::vector<std::string>{"open good.pdf own use 72"}));
  EXPECT_EQ(
      log_.matching("filebar "),
      (std::vector<std::string>{"filebar 33 File 1 of 3, 33%", "filebar 66 File 2 of 3, 66%",
                                "filebar 100 File 3 of 3, 100%", "filebar 0 Convert finished."}));
  EXPECT_FALSE(fs::exists(dir_ / "bad"));
  // The first file's output folder does not exist: nothing is offered to open.
  EXPECT_TRUE(log_.matching("explore ").empty());
}

TEST_F(ConversionJobTest, OutputLayoutPerFrameStructure) {
  struct Case {
    int32_t frameStructure, outputMode, hyperlinks;
    const char* opened;  // file opened afterwards, "" for none
    bool sidePagesKept;
    bool links;
  };
  const Case cases[] = {
      {0, 0, 0, "index.htm", true, true},
      {1, 1, 1, "index.htm", true, false},
      {2, 1, 0, "pg_0001.htm", true, true},
      {2, 0, 0, "index.htm", false, true},
      {5, 0, 0, "", true, true},
  };
  for (const Case& c : cases) {
    test::ScratchDir dir;
    EventLog log;
    FakeSource source(log);
    FakeSite site(log);
    RecordingObserver observer(log);
    source.pages["doc.pdf"] = 2;
    fs::create_directories(dir / "app" / "images");
    test::writeFile(dir / "app" / "images" / "next.gif", "GIF");
    ConvertOptions options;
    options.frameStructure = c.frameStructure;
    options.outputMode = c.outputMode;
    options.hyperlinks = c.hyperlinks;
    ConversionJob job(options, {{dir / "doc.pdf", {}, {}}}, {dir / "app"}, source, site, observer);
    job.start();
    EXPECT_EQ(job.wait().outcome, JobOutcome::Finished);
    fs::path out = dir / "doc";
    SCOPED_TRACE(c.frameStructure * 10 + c.outputMode);
    EXPECT_EQ(log.matching("open /").size(), *c.opened ? 1u : 0u);
    if (*c.opened) {
      EXPECT_EQ(log.lines.back(), "open " + (out / c.opened).string());
    }
    EXPECT_TRUE(fs::exists(out / "index.htm"));
    EXPECT_EQ(fs::exists(out / "pg_nav.htm"), c.sidePagesKept);
    EXPECT_EQ(fs::exists(out / "pg_0002.htm"), c.sidePagesKept);
    EXPECT_EQ(test::readFile(out / "images" / "next.gif"), "GIF");
    EXPECT_EQ(log.matching("links ").size(), c.links ? 2u : 0u);
  }
}

TEST_F(ConversionJobTest, NothingSelected) {
  JobResult result = run(ConvertOptions{}, {});
  EXPECT_EQ(result.outcome, JobOutcome::NothingSelected);
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"disable", "enable"}));
}

}  // namespace
}  // namespace qv
