#pragma once

// The attributes of a page that are inherited down the page tree: the five boxes, the crop
// decision, the rotation and the resources. A value: each tree node makes its own from its
// parent's (the resource dictionary is shared by reference count). Owned by its CPDFPage or,
// while the tree is walked, by the walk.

#include <cstdint>

#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFObject.h"

namespace qv {

// A rectangle in default user space, as the file gives it (not reordered).
struct PDFRectangle {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;

  double width() const { return x2 - x1; }
  double height() const { return y2 - y1; }
  friend bool operator==(const PDFRectangle&, const PDFRectangle&) = default;
};

class CPDFPageAttrs {
 public:
  // The attributes of the tree's root level: a US Letter media box, no crop box, no rotation
  // and no resources, then whatever `dict` sets.
  explicit CPDFPageAttrs(const CPDFDict& dict);
  // The attributes of `parent` overridden by `dict`.
  CPDFPageAttrs(const CPDFPageAttrs& parent, const CPDFDict& dict);

  CPDFPageAttrs(const CPDFPageAttrs& other);
  CPDFPageAttrs& operator=(const CPDFPageAttrs&) = delete;

  const PDFRectangle& mediaBox() const { return mediaBox_; }
  const PDFRectangle& cropBox() const { return cropBox_; }
  const PDFRectangle& bleedBox() const { return bleedBox_; }
  const PDFRectangle& trimBox() const { return trimBox_; }
  const PDFRectangle& artBox() const { return artBox_; }
  bool haveCropBox() const { return haveCropBox_; }
  bool limitToCropBox() const { return limitToCropBox_; }
  // The box the page is drawn in and measured by.
  const PDFRectangle& effectiveBox() const { return limitToCropBox_ ? cropBox_ : mediaBox_; }
  int32_t rotate() const { return rotate_; }
  // The resource dictionary, or null.
  const CPDFObject& resources() const { return resources_; }

 private:
  CPDFPageAttrs();
  void apply(const CPDFDict& dict);

  PDFRectangle mediaBox_{0, 0, 612, 792};
  PDFRectangle cropBox_;
  PDFRectangle bleedBox_;
  PDFRectangle trimBox_;
  PDFRectangle artBox_;
  bool haveCropBox_ = false;
  bool limitToCropBox_ = false;
  int32_t rotate_ = 0;
  CPDFObject resources_ = CPDFObject::makeNull();
};

}  // namespace qv
