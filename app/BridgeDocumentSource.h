#pragma once

// The product's document source: opens documents through the document bridge. One source
// serves one job; each opened document owns its bridge handle and closes it when destroyed.

#include "app/DocumentSource.h"

namespace qv {

class BridgeDocumentSource : public DocumentSource {
 public:
  // verbose: the engine's messages go to standard error instead of being discarded (the
  // command line's --verbose); kept for the engine's error sink.
  explicit BridgeDocumentSource(bool verbose = false) : verbose_(verbose) {}

  std::unique_ptr<SourceDocument> open(const std::filesystem::path& file,
                                       const std::optional<std::string>& ownerPassword,
                                       const std::optional<std::string>& userPassword,
                                       int resolution) override;

  bool verbose() const { return verbose_; }

 private:
  bool verbose_;
};

}  // namespace qv
