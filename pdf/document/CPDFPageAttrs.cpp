#include "pdf/document/CPDFPageAttrs.h"

#include "pdf/core/CPDFArray.h"

namespace qv {

namespace {

// The value of `key` when it is an array of exactly four numbers; `box` is left alone
// otherwise.
bool readBox(const CPDFDict& dict, const char* key, PDFRectangle& box) {
  const CPDFObject value = dict.lookup(key);
  const CPDFArray* array = value.getArray();
  if (!array || array->count() != 4) {
    return false;
  }
  double numbers[4];
  for (int i = 0; i < 4; ++i) {
    const CPDFObject item = array->get(i);
    if (!item.isNum()) {
      return false;
    }
    numbers[i] = item.getNum();
  }
  box = {numbers[0], numbers[1], numbers[2], numbers[3]};
  return true;
}

}  // namespace

CPDFPageAttrs::CPDFPageAttrs() = default;

CPDFPageAttrs::CPDFPageAttrs(const CPDFDict& dict) : CPDFPageAttrs() {
  apply(dict);
}

CPDFPageAttrs::CPDFPageAttrs(const CPDFPageAttrs& parent, const CPDFDict& dict)
    : CPDFPageAttrs(parent) {
  apply(dict);
}

CPDFPageAttrs::CPDFPageAttrs(const CPDFPageAttrs& other)
    : mediaBox_(other.mediaBox_),
      cropBox_(other.cropBox_),
      bleedBox_(other.bleedBox_),
      trimBox_(other.trimBox_),
      artBox_(other.artBox_),
      haveCropBox_(other.haveCropBox_),
      limitToCropBox_(other.limitToCropBox_),
      rotate_(other.rotate_),
      resources_(other.resources_.copy()) {}

void CPDFPageAttrs::apply(const CPDFDict& dict) {
  readBox(dict, "MediaBox", mediaBox_);
  // The crop box is worked out again at every level: without its own CropBox a node's crop
  // box is its media box.
  cropBox_ = mediaBox_;
  haveCropBox_ = readBox(dict, "CropBox", cropBox_);
  limitToCropBox_ = false;
  if (haveCropBox_) {
    // Drawing is limited to the crop box only when it cuts away more than a quarter of its
    // own width or height; small trims keep the whole media box.
    const double cutX = (cropBox_.x1 - mediaBox_.x1) + (mediaBox_.x2 - cropBox_.x2);
    const double cutY = (cropBox_.y1 - mediaBox_.y1) + (mediaBox_.y2 - cropBox_.y2);
    limitToCropBox_ =
        cutX > 0.25 * (cropBox_.x2 - cropBox_.x1) || cutY > 0.25 * (cropBox_.y2 - cropBox_.y1);
  }
  bleedBox_ = cropBox_;
  readBox(dict, "BleedBox", bleedBox_);
  trimBox_ = cropBox_;
  readBox(dict, "TrimBox", trimBox_);
  artBox_ = cropBox_;
  readBox(dict, "ArtBox", artBox_);

  const CPDFObject rotate = dict.lookup("Rotate");
  if (rotate.isInt()) {
    // Any integer is brought into 0..359 (in one step, so a huge value costs nothing).
    rotate_ = rotate.getInt() % 360;
    if (rotate_ < 0) {
      rotate_ += 360;
    }
  }
  CPDFObject resources = dict.lookup("Resources");
  if (resources.isDict()) {
    resources_ = std::move(resources);
  }
}

}  // namespace qv
