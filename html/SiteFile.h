#pragma once

// Writing the files of a site. Every line feed of the text reaches the disk as carriage
// return + line feed, as the site's files have always been written.
//
// WriteSiteFile writes the text to a temporary file beside the target and renames it over
// the target when complete, so an interrupted job never leaves a half-written file under the
// real name. AppendSiteFile adds one complete piece to the end of a file (the single-document
// index.htm): the earlier bytes are never touched (the file is opened for appending only), the
// piece is handed to the system in one write, and a failed or short write is cut off again, so
// the file always ends after a complete piece.

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// The text with every "\n" turned into "\r\n".
std::string ToCrLf(std::string_view text);

bool WriteSiteFile(const std::filesystem::path& file, std::string_view text);

bool AppendSiteFile(const std::filesystem::path& file, std::string_view text);

}  // namespace qv
