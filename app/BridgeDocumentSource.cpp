#include "app/BridgeDocumentSource.h"

namespace qv {

namespace {

class BridgeDocument : public SourceDocument {
 public:
  explicit BridgeDocument(DocBridgeHandlePtr handle) : handle_(std::move(handle)) {}

  int pageCount() override { return DocBridgePageCount(handle_.get()); }
  std::unique_ptr<PDFPageRecord> page(int pageNumber) override {
    return DocBridgeGetPage(handle_.get(), pageNumber);
  }
  std::unique_ptr<PDFLinkAreaList> pageLinks(int pageNumber) override {
    return DocBridgeGetPageLinks(handle_.get(), pageNumber);
  }
  DocBridgeHandle* bridgeHandle() override { return handle_.get(); }

 private:
  DocBridgeHandlePtr handle_;
};

}  // namespace

std::unique_ptr<SourceDocument> BridgeDocumentSource::open(
    const std::filesystem::path& file, const std::optional<std::string>& ownerPassword,
    const std::optional<std::string>& userPassword, int resolution) {
  DocBridgeHandlePtr handle = DocBridgeOpen(file, ownerPassword, userPassword, resolution);
  if (!handle) {
    return nullptr;
  }
  return std::make_unique<BridgeDocument>(std::move(handle));
}

}  // namespace qv
