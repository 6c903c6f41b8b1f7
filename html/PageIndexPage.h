#pragma once

// Writes pg_index.htm, the page list of the left frame. Its rows are written in the browser by a
// script that reads the page range from the navigation frame.
// The file is written under a temporary name and renamed when complete; nothing is
// reported when it cannot be written.

#include <filesystem>
#include <string>

#include "app/options/ConvertOptions.h"

namespace qv {

// outputFolder is the document's output folder; documentName the PDF file's name without
// its extension; firstPage..lastPage the converted range.
void WritePageIndexPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                        const std::string& documentName, int firstPage, int lastPage);

}  // namespace qv
