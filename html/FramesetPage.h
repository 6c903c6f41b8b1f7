#pragma once

// Writes index.htm, the frameset the reader opens: the navigation bar on top, the page
// list or bookmark tree on the left and the page files on the right. With no frames
// (frameStructure 2) the file is created empty; single-document pages are appended to it.
// The file is written under a temporary name and renamed when complete; nothing is
// reported when it cannot be written.

#include <filesystem>
#include <string>

#include "app/options/ConvertOptions.h"

namespace qv {

// outputFolder is the document's output folder; documentName the PDF file's name without
// its extension; firstPage..lastPage the converted range.
void WriteFramesetPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                       const std::string& documentName, int firstPage, int lastPage);

}  // namespace qv
