#pragma once

// A Type 0 font with its CID descendant: a CMap decodes the shown bytes into CIDs, a Unicode
// map (ToUnicode, or the collection's cidToUnicode table) gives their text, and the W / W2
// arrays their advances. Owned by its CPDFFontDict.

#include <vector>

#include "pdf/core/RefCounted.h"
#include "pdf/fonts/CPDFFont.h"
#include "pdf/fonts/cmap/CPDFMap.h"
#include "pdf/fonts/cmap/CPDFToUnicode.h"

namespace qv {

class CPDFCIDFont : public CPDFFont {
 public:
  static std::unique_ptr<CPDFFont> build(CPDFFontContext& context, std::string tag, CPDFRef ref,
                                         std::optional<std::string> name, const CPDFDict& dict);

  bool isCIDFont() const override { return true; }
  int nextChar(std::span<const uint8_t> bytes, CPDFChar& out) override;

  struct WidthRange {
    uint32_t first;
    uint32_t last;
    double width;
  };
  struct VerticalRange {
    uint32_t first;
    uint32_t last;
    double height;
    double originX;
    double originY;
  };

  const std::string& collection() const { return collection_; }
  const RefPtr<CPDFMap>& cmap() const { return cmap_; }
  const RefPtr<CPDFToUnicode>& toUnicode() const { return toUnicode_; }
  double defaultWidth() const { return defaultWidth_; }
  const std::vector<WidthRange>& widths() const { return widths_; }
  const std::vector<VerticalRange>& verticalWidths() const { return vertical_; }
  const std::vector<uint16_t>& cidToGid() const { return cidToGid_; }
  // The horizontal advance of `cid`.
  double widthOf(uint32_t cid) const;

 private:
  CPDFCIDFont(std::string tag, CPDFRef ref, std::optional<std::string> name)
      : CPDFFont(std::move(tag), ref, std::move(name), CPDFFontKind::kUnknown) {}

  void readWidths(const CPDFDict& desc);
  void readVerticalWidths(const CPDFDict& desc);
  const VerticalRange* findVertical(uint32_t cid) const;

  std::string collection_;
  RefPtr<CPDFMap> cmap_;
  RefPtr<CPDFToUnicode> toUnicode_;
  double defaultWidth_ = 1.0;
  double defaultOriginY_ = 0.88;
  double defaultHeight_ = -1.0;
  std::vector<WidthRange> widths_;
  std::vector<VerticalRange> vertical_;
  std::vector<uint16_t> cidToGid_;
};

}  // namespace qv
