#pragma once

// What the conversion job reads documents through. The product's source opens documents
// with the document bridge (BridgeDocumentSource); tests give the job doubles. An open
// document is owned by the job for the time it converts it and closed by destroying it.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "extract/DocBridge.h"
#include "extract/PDFLinkArea.h"
#include "extract/PDFPageRecord.h"

namespace qv {

class SourceDocument {
 public:
  virtual ~SourceDocument() = default;

  // Number of pages (0 or less for a document without usable pages).
  virtual int pageCount() = 0;
  // Extracts a page (1-based); none when it cannot be extracted.
  virtual std::unique_ptr<PDFPageRecord> page(int pageNumber) = 0;
  // The link areas of the page extracted last; none when there are none.
  virtual std::unique_ptr<PDFLinkAreaList> pageLinks(int pageNumber) = 0;
  // The bridge handle for writers that read the document themselves (the bookmark page);
  // null for documents that do not come from the bridge.
  virtual DocBridgeHandle* bridgeHandle() { return nullptr; }
};

class DocumentSource {
 public:
  virtual ~DocumentSource() = default;

  // Opens a document; none when it cannot be opened (damaged, not a PDF, wrong password).
  virtual std::unique_ptr<SourceDocument> open(const std::filesystem::path& file,
                                               const std::optional<std::string>& ownerPassword,
                                               const std::optional<std::string>& userPassword,
                                               int resolution) = 0;

  // Why open() gave none for this file, when the source can tell more than the file system
  // can; empty when it cannot.
  virtual std::string whyNotOpened(const std::filesystem::path& /*file*/,
                                   const std::optional<std::string>& /*ownerPassword*/,
                                   const std::optional<std::string>& /*userPassword*/) {
    return {};
  }
};

}  // namespace qv
