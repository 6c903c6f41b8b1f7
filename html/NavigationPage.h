#pragma once

// Writes pg_nav.htm, the navigation bar of the site (frame ltop): it holds the current page and
// zoom, loads page files into the contents frame and drives the left frame.
// The file is written under a temporary name and renamed when complete; nothing is
// reported when it cannot be written.

#include <filesystem>
#include <string>

#include "app/options/ConvertOptions.h"

namespace qv {

// outputFolder is the document's output folder; documentName the PDF file's name without
// its extension; firstPage..lastPage the converted range.
void WriteNavigationPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                         const std::string& documentName, int firstPage, int lastPage);

}  // namespace qv
