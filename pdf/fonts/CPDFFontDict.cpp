#include "pdf/fonts/CPDFFontDict.h"

#include "pdf/core/CPDFDict.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

CPDFFontDict::CPDFFontDict(CPDFFontContext& context, const CPDFDict& fontResources) {
  fonts_.resize(static_cast<size_t>(fontResources.count()));
  for (int i = 0; i < fontResources.count(); ++i) {
    CPDFObject raw = fontResources.valueRawAt(i);
    CPDFObject value = raw.resolve(context.xref);
    if (!value.isDict()) {
      reportError(-1, "font resource is not a dictionary");
      continue;
    }
    CPDFRef ref = raw.isRef() ? raw.getRef() : CPDFRef{i, 999999};
    std::unique_ptr<CPDFFont> font =
        CPDFFont::makeFont(context, fontResources.keyAt(i), ref, *value.getDict());
    if (font && font->isOk()) {
      fonts_[i] = std::move(font);
    }
  }
}

CPDFFont* CPDFFontDict::lookup(std::string_view tag) const {
  for (const auto& font : fonts_) {
    if (font && font->tag() == tag) {
      return font.get();
    }
  }
  return nullptr;
}

}  // namespace qv
