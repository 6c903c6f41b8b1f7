#pragma once

// What the conversion job writes a site through: the four side pages and the page files.
// The product's output calls the HTML writers (HtmlSiteOutput); tests give the job a double
// that records the calls. One SiteOutput serves one job, on the job's thread.

#include <filesystem>
#include <string>

#include "app/DocumentSource.h"
#include "app/options/ConvertOptions.h"
#include "extract/PDFLinkArea.h"
#include "extract/PDFPageRecord.h"

namespace qv {

class SiteOutput {
 public:
  virtual ~SiteOutput() = default;

  // The side pages of one document, called in this order before its first page:
  // index.htm, pg_index.htm, pg_nav.htm, pg_bmark.htm.
  virtual void writeFramesetPage(const ConvertOptions& options,
                                 const std::filesystem::path& outputFolder,
                                 const std::string& documentName, int firstPage, int lastPage) = 0;
  virtual void writePageIndexPage(const ConvertOptions& options,
                                  const std::filesystem::path& outputFolder,
                                  const std::string& documentName, int firstPage, int lastPage) = 0;
  virtual void writeNavigationPage(const ConvertOptions& options,
                                   const std::filesystem::path& outputFolder,
                                   const std::string& documentName, int firstPage,
                                   int lastPage) = 0;
  virtual void writeBookmarkPage(const ConvertOptions& options, SourceDocument& document,
                                 const std::filesystem::path& outputFolder,
                                 const std::string& documentName, int firstPage, int lastPage) = 0;

  // Writes one page file (or appends the page in single-document mode). Pages of one
  // document come in order after its side pages; a new document starts with
  // writeFramesetPage. links may be null.
  virtual void writePage(const ConvertOptions& options, PDFPageRecord& record,
                         const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                         int firstPage) = 0;

  // The batch has ended (every end path): intermediate files are removed.
  virtual void finishBatch() {}
};

}  // namespace qv
