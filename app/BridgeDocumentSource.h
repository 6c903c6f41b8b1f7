#pragma once

// The product's document source: opens documents through the document bridge. One source
// serves one job; each opened document owns its bridge handle and closes it when destroyed.

#include "app/DocumentSource.h"

namespace qv {

class BridgeDocumentSource : public DocumentSource {
 public:
  // verbose: the engine's messages go to standard error instead of being discarded (the
  // command line's --verbose). The sink is installed on the thread that calls open() for
  // as long as the opened document lives, so open, read and destroy a document on one
  // thread, and one document at a time.
  explicit BridgeDocumentSource(bool verbose = false) : verbose_(verbose) {}

  std::unique_ptr<SourceDocument> open(const std::filesystem::path& file,
                                       const std::optional<std::string>& ownerPassword,
                                       const std::optional<std::string>& userPassword,
                                       int resolution) override;

  // A document that the engine reads but the bridge cannot extract pages from is named as
  // such, not as an invalid file.
  std::string whyNotOpened(const std::filesystem::path& file,
                           const std::optional<std::string>& ownerPassword,
                           const std::optional<std::string>& userPassword) override;

  bool verbose() const { return verbose_; }

 private:
  bool verbose_;
};

}  // namespace qv
