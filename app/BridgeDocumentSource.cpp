#include "app/BridgeDocumentSource.h"

#include "app/EngineMessages.h"
#include "pdf/document/CPDFDocument.h"

namespace qv {

namespace {

class BridgeDocument : public SourceDocument {
 public:
  BridgeDocument(std::unique_ptr<ScopedErrorSink> sink, DocBridgeHandlePtr handle)
      : sink_(std::move(sink)), handle_(std::move(handle)) {}

  int pageCount() override { return DocBridgePageCount(handle_.get()); }
  std::unique_ptr<PDFPageRecord> page(int pageNumber) override {
    return DocBridgeGetPage(handle_.get(), pageNumber);
  }
  std::unique_ptr<PDFLinkAreaList> pageLinks(int pageNumber) override {
    return DocBridgeGetPageLinks(handle_.get(), pageNumber);
  }
  DocBridgeHandle* bridgeHandle() override { return handle_.get(); }

 private:
  // Declared first so it outlives the handle: closing the document may report too.
  std::unique_ptr<ScopedErrorSink> sink_;
  DocBridgeHandlePtr handle_;
};

}  // namespace

std::unique_ptr<SourceDocument> BridgeDocumentSource::open(
    const std::filesystem::path& file, const std::optional<std::string>& ownerPassword,
    const std::optional<std::string>& userPassword, int resolution) {
  // The job opens, reads and closes a document on its worker thread, one document at a
  // time, so a sink installed here for the document's lifetime covers every engine call
  // made for it and is removed on the same thread, in order.
  std::unique_ptr<ScopedErrorSink> sink;
  if (verbose_) {
    sink = std::make_unique<ScopedErrorSink>(StandardErrorSink());
  }
  DocBridgeHandlePtr handle = DocBridgeOpen(file, ownerPassword, userPassword, resolution);
  if (!handle) {
    return nullptr;
  }
  return std::make_unique<BridgeDocument>(std::move(sink), std::move(handle));
}

std::string BridgeDocumentSource::whyNotOpened(const std::filesystem::path& file,
                                               const std::optional<std::string>& ownerPassword,
                                               const std::optional<std::string>& userPassword) {
  CPDFDocument document(file.string(), ownerPassword, userPassword);
  if (document.ok()) {
    return "the document opens, but this build cannot extract its pages yet";
  }
  return {};
}

}  // namespace qv
