#pragma once

// The document catalog, read once when the document opens: walks the page tree into the
// pages in page order (keeping each page's reference so destinations can be turned into page
// numbers) and keeps the named-destination sources, the base URI and the Metadata and
// StructTreeRoot entries. Owned by CPDFDocument; owns its pages; borrows the table. One
// thread at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/document/CPDFPage.h"

namespace qv {

class CPDFCrossRef;

class CPDFCatalog {
 public:
  CPDFCatalog(CPDFCrossRef& xref, bool traceFlag);
  ~CPDFCatalog();
  CPDFCatalog(const CPDFCatalog&) = delete;
  CPDFCatalog& operator=(const CPDFCatalog&) = delete;

  bool ok() const { return ok_; }

  int32_t getNumPages() const { return static_cast<int32_t>(pages_.size()); }
  // Page n, 1-based; null outside 1..getNumPages().
  CPDFPage* getPage(int32_t n) const;
  // The reference of page n's object; (-1, -1) when it was written directly in Kids or n is
  // out of range.
  CPDFRef getPageRef(int32_t n) const;
  // The 1-based number of the first page with this reference, or 0.
  int32_t findPageByRef(int32_t num, int32_t gen) const;

  // The destination array of a named destination (old-style Dests first, then the name
  // tree), or null. Names compare byte for byte up to the first NUL.
  CPDFObject findNamedDest(const CPDFString& name) const;

  const std::optional<CPDFString>& getBaseURI() const { return baseURI_; }
  const CPDFObject& getDests() const { return dests_; }
  const CPDFObject& getNameTree() const { return nameTree_; }
  const CPDFObject& getMetadata() const { return metadata_; }
  const CPDFObject& getStructTreeRoot() const { return structTreeRoot_; }

 private:
  struct WalkState;

  // The new number of pages, or -1 when the tree is broken.
  int32_t readPageTree(const CPDFDict& node, const CPDFPageAttrs* parentAttrs, int32_t pagesSoFar,
                       int depth, WalkState& walk);
  CPDFObject findDestInTree(const CPDFObject& node, const CPDFString& name) const;

  CPDFCrossRef& xref_;
  bool traceFlag_;
  std::vector<std::unique_ptr<CPDFPage>> pages_;
  std::vector<CPDFRef> pageRefs_;
  CPDFObject dests_ = CPDFObject::makeNull();
  CPDFObject nameTree_ = CPDFObject::makeNull();
  std::optional<CPDFString> baseURI_;
  CPDFObject metadata_ = CPDFObject::makeNull();
  CPDFObject structTreeRoot_ = CPDFObject::makeNull();
  bool ok_ = true;
};

}  // namespace qv
