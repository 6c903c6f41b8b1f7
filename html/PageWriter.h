#pragma once

// The page writer: turns one extracted page record into its HTML page file (a head with the
// page's style classes, a body with the page image and its clickable link areas, and one
// absolutely positioned block per run of horizontal text).
//
// PageWriterState is the per-document state of the writer (the style classes and the offset
// of the current page inside a single-document index.htm). The conversion job owns one per
// document it converts and passes it to every call, in page order; nothing is kept globally.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/options/ConvertOptions.h"
#include "extract/PDFLinkArea.h"
#include "extract/PDFPageRecord.h"

namespace qv {

// The style of a text item as a style class: compared field by field, the face name as
// exact bytes and bold and italic as the stored values.
struct PageTextStyle {
  int32_t size = 0;
  std::string fontName;
  uint32_t color = 0;
  int32_t bold = 0;
  int32_t italic = 0;

  bool operator==(const PageTextStyle&) const = default;
};

struct PageWriterState {
  // Style classes in order of first use; a class's number is its index. Emptied for every
  // page in page mode; grows over the pages of one document in single-document mode.
  std::vector<PageTextStyle> styleClasses;
  // The page being written is appended to the output folder's index.htm.
  bool singleDocument = false;
  // Vertical offset in pixels of the current page inside the single-document index.htm.
  int32_t singleDocumentTop = 0;
  // Receives the user-visible failure message ("Create file error [...]!"); the front end
  // shows it. When unset the message is dropped, as the writer itself never prints.
  std::function<void(const std::string&)> showMessage;
};

// Writes the page file of one page (or appends the page to index.htm in single-document
// mode), painting and saving its page image first when options.ignoreImages is 1. links may
// be null. firstPage is the first page of the converted range. Returns 1 when done (also
// when the page file cannot be created: the failure goes to state.showMessage), -1 when the
// page file path is empty. The record's non-text items are removed.
int WritePageHtml(PageWriterState& state, const ConvertOptions& options, PDFPageRecord& record,
                  const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                  int firstPage);

// Writes the HTML of one page with the given page image path (empty: no image); used by
// WritePageHtml. Returns false when the output file could not be written.
bool WritePageFile(PageWriterState& state, const ConvertOptions& options, PDFPageRecord& record,
                   const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                   const std::filesystem::path& imagePath, int firstPage);

}  // namespace qv
