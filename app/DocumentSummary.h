#pragma once

// The document summary of the file list as text (file facts, PDF version, page size, page
// count and permissions), for the command line's --info and the window's log. The document
// is opened with the engine directly, on the calling thread, and closed before returning;
// engine messages go to whatever error sink that thread has installed.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace qv {

// The summary of a document; none when the file cannot be read or the engine cannot open
// the document (damaged, not a PDF, wrong password). Passwords may be absent. The text ends
// without a line feed after the last permission line.
std::optional<std::string> DocumentSummaryText(const std::filesystem::path& file,
                                               const std::optional<std::string>& ownerPassword,
                                               const std::optional<std::string>& userPassword);

// The number with a comma between every three digits from the right: 1234567 gives
// "1,234,567".
std::string WithThousandsSeparators(uintmax_t value);

// The file's creation (birth) time where the file system records one, else its
// modification time; none when the file cannot be examined.
std::optional<std::time_t> FileCreationTime(const std::filesystem::path& file);

// " (Acrobat 5.x) " for version "1.4" and so on up to "1.6"; any other version (as printed
// with one decimal) gives " (Unknown Acrobat Version) ".
std::string AcrobatVersionLabel(double version);

}  // namespace qv
