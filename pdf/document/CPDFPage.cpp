#include "pdf/document/CPDFPage.h"

#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

bool isRefArrayOrNull(const CPDFObject& value) {
  return value.isRef() || value.isArray() || value.isNull();
}

}  // namespace

CPDFPage::CPDFPage(CPDFObjectResolver* xref, int32_t num, const CPDFDict& dict,
                   std::unique_ptr<CPDFPageAttrs> attrs, bool traceFlag)
    : xref_(xref), num_(num), attrs_(std::move(attrs)), traceFlag_(traceFlag) {
  annots_ = dict.lookupRaw("Annots");
  if (!isRefArrayOrNull(annots_)) {
    reportError(-1, "Page annotations object (page %d) is wrong type (%s)", num_,
                annots_.typeName());
    annots_ = CPDFObject::makeNull();
    ok_ = false;
    return;
  }
  contents_ = dict.lookupRaw("Contents");
  if (!isRefArrayOrNull(contents_)) {
    reportError(-1, "Page contents object (page %d) is wrong type (%s)", num_,
                contents_.typeName());
    annots_ = CPDFObject::makeNull();
    contents_ = CPDFObject::makeNull();
    ok_ = false;
  }
}

}  // namespace qv
