#pragma once

// The document bridge: the only door between the application and the PDF engine. A small
// set of free functions over an opaque handle. Every failure is signalled by the result;
// none of them shows a message.
//
// Ownership: DocBridgeOpen hands out a handle owned by the caller (DocBridgeHandlePtr closes
// it); page records and link lists are owned by the caller and stay valid after the handle
// is closed. A handle is used by one thread at a time.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "extract/PDFLinkArea.h"
#include "extract/PDFPageRecord.h"

namespace qv {

struct DocBridgeHandle;

// The marker a live handle carries; every operation rejects a handle that lacks it.
inline constexpr uint32_t kDocBridgeMarker = 0x3FA66666;

void DocBridgeClose(DocBridgeHandle* handle);

struct DocBridgeCloser {
  void operator()(DocBridgeHandle* handle) const { DocBridgeClose(handle); }
};
using DocBridgeHandlePtr = std::unique_ptr<DocBridgeHandle, DocBridgeCloser>;

// Opens a document; none when it cannot be opened. Passwords may be absent.
DocBridgeHandlePtr DocBridgeOpen(const std::filesystem::path& file,
                                 const std::optional<std::string>& ownerPassword,
                                 const std::optional<std::string>& userPassword, int resolution);

// Number of pages; -1 when the handle is not valid.
int DocBridgePageCount(const DocBridgeHandle* handle);

// Extracts a page (1-based); none for an invalid handle or a page out of range.
std::unique_ptr<PDFPageRecord> DocBridgeGetPage(DocBridgeHandle* handle, int pageNumber);

// The link areas of the page that the last DocBridgeGetPage of this handle extracted; none
// for any other page or an invalid handle.
std::unique_ptr<PDFLinkAreaList> DocBridgeGetPageLinks(DocBridgeHandle* handle, int pageNumber);

// Writes the document's outline to the outline file; its path when written, else none.
std::optional<std::filesystem::path> DocBridgeExportOutline(DocBridgeHandle* handle);

// The intermediate outline file of this process, in the temporary folder. Each process has its
// own, so parallel conversions never share one; the job deletes it when its batch ends.
std::filesystem::path DocBridgeOutlineFilePath();

// Releasing a record or a link list is destroying the unique_ptr; these exist for callers
// that want the release visible, and accept none.
inline void DocBridgeFreePage(std::unique_ptr<PDFPageRecord> record) {
  record.reset();
}
inline void DocBridgeFreePageLinks(std::unique_ptr<PDFLinkAreaList> links) {
  links.reset();
}

}  // namespace qv
