#pragma once

// One page of the document: its number, its attributes (inherited down the page tree) and
// its raw Contents and Annots entries. Created by CPDFCatalog while it walks the page tree
// and owned by it until the document closes. Borrows the cross-reference table.

#include <cstdint>
#include <memory>

#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/document/CPDFPageAttrs.h"

namespace qv {

class CPDFPage {
 public:
  // A page whose Annots or Contents is neither a reference, an array nor null is not ok();
  // both entries are then null.
  CPDFPage(CPDFObjectResolver* xref, int32_t num, const CPDFDict& dict,
           std::unique_ptr<CPDFPageAttrs> attrs, bool traceFlag);

  bool ok() const { return ok_; }
  int32_t num() const { return num_; }
  const CPDFPageAttrs& attrs() const { return *attrs_; }
  const PDFRectangle& mediaBox() const { return attrs_->mediaBox(); }
  const PDFRectangle& cropBox() const { return attrs_->cropBox(); }
  const PDFRectangle& effectiveBox() const { return attrs_->effectiveBox(); }
  bool haveCropBox() const { return attrs_->haveCropBox(); }
  bool limitToCropBox() const { return attrs_->limitToCropBox(); }
  int32_t rotate() const { return attrs_->rotate(); }
  const CPDFObject& resources() const { return attrs_->resources(); }
  bool traceFlag() const { return traceFlag_; }

  // The entries as written (a reference, an array or null) and resolved.
  const CPDFObject& annotsRaw() const { return annots_; }
  const CPDFObject& contentsRaw() const { return contents_; }
  CPDFObject annots() const { return annots_.resolve(xref_); }
  CPDFObject contents() const { return contents_.resolve(xref_); }

 private:
  CPDFObjectResolver* xref_;
  int32_t num_;
  std::unique_ptr<CPDFPageAttrs> attrs_;
  CPDFObject annots_ = CPDFObject::makeNull();
  CPDFObject contents_ = CPDFObject::makeNull();
  bool ok_ = true;
  bool traceFlag_;
};

}  // namespace qv
