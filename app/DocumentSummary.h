#pragma once

// The document summary of the file list as text (file facts, PDF version, page size, page
// count and permissions), for the command line's --info and the window's log.

#include <filesystem>
#include <optional>
#include <string>

namespace qv {

// The summary of a document; none when the engine cannot open it. Passwords may be absent.
std::optional<std::string> DocumentSummaryText(const std::filesystem::path& file,
                                               const std::optional<std::string>& ownerPassword,
                                               const std::optional<std::string>& userPassword);

}  // namespace qv
