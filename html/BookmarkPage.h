#pragma once

// Writes pg_bmark.htm, the bookmark tree of the left frame: a fixed tree script followed by
// one data line per outline entry. The outline comes from the document bridge, which
// exports it to the outline file; the file is read back into OutlineEntry values.

#include <filesystem>
#include <string>
#include <vector>

#include "app/options/ConvertOptions.h"
#include "extract/DocBridge.h"

namespace qv {

struct OutlineEntry {
  int depth = 0;      // nesting level, 0 for top-level items
  std::string title;  // UTF-8, escaped for HTML text
  int page = 1;       // destination page number; 1 when the line names none
};

// Parses the outline file's text (one line per item: tabs for the depth, the title, then
// optionally "<>," and the page number followed by eight more numbers) into entries.
std::vector<OutlineEntry> ParseOutlineEntries(const std::string& text);

// Exports the outline of the document and reads it back; empty when there is none.
std::vector<OutlineEntry> ReadOutlineEntries(DocBridgeHandle* handle);

// Writes the bookmark page of the entries (the "no bookmarks" page when empty).
void WriteBookmarkEntries(const ConvertOptions& options, const std::vector<OutlineEntry>& entries,
                          const std::filesystem::path& outputFolder,
                          const std::string& documentName, int firstPage);

// Exports the document's outline and writes output folder + pg_bmark.htm. handle may be
// null (no outline). The last page is not used.
void WriteBookmarkPage(const ConvertOptions& options, DocBridgeHandle* handle,
                       const std::filesystem::path& outputFolder, const std::string& documentName,
                       int firstPage, int lastPage);

}  // namespace qv
