#include "extract/DocBridge.h"

#include <unistd.h>

#include <string>

namespace qv {

// The handle. The engine document and the page device join it once the engine can open
// files; until then no document opens and every operation answers as for a closed handle.
struct DocBridgeHandle {
  uint32_t marker = kDocBridgeMarker;
  int resolution = 72;
  int pageCount = 0;
  int lastPage = 0;
};

namespace {

bool isValid(const DocBridgeHandle* handle) {
  return handle != nullptr && handle->marker == kDocBridgeMarker;
}

}  // namespace

DocBridgeHandlePtr DocBridgeOpen(const std::filesystem::path& /*file*/,
                                 const std::optional<std::string>& /*ownerPassword*/,
                                 const std::optional<std::string>& /*userPassword*/,
                                 int /*resolution*/) {
  // No reader engine is wired in yet: no document can be opened.
  return nullptr;
}

int DocBridgePageCount(const DocBridgeHandle* handle) {
  return isValid(handle) ? handle->pageCount : -1;
}

std::unique_ptr<PDFPageRecord> DocBridgeGetPage(DocBridgeHandle* handle, int pageNumber) {
  if (!isValid(handle) || pageNumber < 1 || pageNumber > handle->pageCount) {
    return nullptr;
  }
  return nullptr;
}

std::unique_ptr<PDFLinkAreaList> DocBridgeGetPageLinks(DocBridgeHandle* handle, int pageNumber) {
  if (!isValid(handle) || pageNumber != handle->lastPage) {
    return nullptr;
  }
  return nullptr;
}

std::optional<std::filesystem::path> DocBridgeExportOutline(DocBridgeHandle* handle) {
  if (!isValid(handle)) {
    return std::nullopt;
  }
  return std::nullopt;
}

std::filesystem::path DocBridgeOutlineFilePath() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) {
    folder = "/tmp";
  }
  return folder / ("quorvane-outlines-" + std::to_string(::getpid()) + ".txt");
}

void DocBridgeClose(DocBridgeHandle* handle) {
  if (!isValid(handle)) {
    return;
  }
  handle->marker = 0;
  delete handle;
}

}  // namespace qv
