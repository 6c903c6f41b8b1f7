#pragma once

// The product's site output: the HTML writers of the frameset, page index, navigation and
// bookmark pages and the page writer. Holds the page writer's per-document state, which a
// new document (its frameset page) starts afresh. Used on the job's thread only.

#include <functional>
#include <string>

#include "app/SiteOutput.h"
#include "html/PageWriter.h"

namespace qv {

class HtmlSiteOutput : public SiteOutput {
 public:
  // showMessage receives the writers' user-visible failures ("Create file error [...]!").
  explicit HtmlSiteOutput(std::function<void(const std::string&)> showMessage = {});

  void writeFramesetPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                         const std::string& documentName, int firstPage, int lastPage) override;
  void writePageIndexPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                          const std::string& documentName, int firstPage, int lastPage) override;
  void writeNavigationPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                           const std::string& documentName, int firstPage, int lastPage) override;
  void writeBookmarkPage(const ConvertOptions& options, SourceDocument& document,
                         const std::filesystem::path& outputFolder, const std::string& documentName,
                         int firstPage, int lastPage) override;
  void writePage(const ConvertOptions& options, PDFPageRecord& record, const PDFLinkAreaList* links,
                 const std::filesystem::path& pageFile, int firstPage) override;
  // Deletes this process's outline file.
  void finishBatch() override;

 private:
  std::function<void(const std::string&)> showMessage_;
  PageWriterState state_;
};

}  // namespace qv
