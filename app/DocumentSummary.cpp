#include "app/DocumentSummary.h"

namespace qv {

std::optional<std::string> DocumentSummaryText(const std::filesystem::path& /*file*/,
                                               const std::optional<std::string>& /*ownerPassword*/,
                                               const std::optional<std::string>& /*userPassword*/) {
  // The engine cannot read document facts yet: every document counts as one that does not
  // open, which the callers report as "Not a valid pdf file!".
  return std::nullopt;
}

}  // namespace qv
