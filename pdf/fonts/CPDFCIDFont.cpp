#include "pdf/fonts/CPDFCIDFont.h"

#include <algorithm>

#include "pdf/config/CPDFConfig.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/FontLimits.h"
#include "pdf/fonts/cmap/CharMapLookup.h"

namespace qv {

namespace {

// Negative CIDs in a widths array cannot match any code; they are kept out of the tables.
bool validCid(const CPDFObject& value) {
  return value.isInt() && value.getInt() >= 0;
}

}  // namespace

std::unique_ptr<CPDFFont> CPDFCIDFont::build(CPDFFontContext& context, std::string tag,
                                             CPDFRef ref, std::optional<std::string> name,
                                             const CPDFDict& dict) {
  std::unique_ptr<CPDFCIDFont> font(new CPDFCIDFont(std::move(tag), ref, std::move(name)));
  CPDFCIDFont& f = *font;

  RefPtr<CPDFArray> descendants = dict.lookupArray("DescendantFonts");
  if (!descendants) {
    reportError(-1, "Missing DescendantFonts entry in Type 0 font");
    return font;
  }
  RefPtr<CPDFDict> desc = descendants->getDict(0);
  if (!desc) {
    reportError(-1, "Bad descendant font in Type 0 font");
    return font;
  }
  CPDFObject subtype = desc->lookup("Subtype");
  if (subtype.isNull()) {
    reportError(-1, "Missing Subtype entry in Type 0 descendant font");
    return font;
  }
  if (subtype.isName("CIDFontType0")) {
    f.kind_ = CPDFFontKind::kCIDType0;
  } else if (subtype.isName("CIDFontType2")) {
    f.kind_ = CPDFFontKind::kCIDType2;
  } else {
    reportError(-1, "Unknown Type 0 descendant font type '%s'",
                subtype.isName() ? subtype.getName().c_str() : "???");
    return font;
  }
  f.readFontDescriptor(context, *desc);
  CPDFObject winCharSet = desc->lookup("WinCharSet");
  if (winCharSet.isInt()) {
    f.winCharSet_ = winCharSet.getInt();
  }

  RefPtr<CPDFDict> info = desc->lookupDict("CIDSystemInfo");
  if (!info) {
    reportError(-1, "Missing CIDSystemInfo dictionary in Type 0 descendant font");
    return font;
  }
  std::optional<CPDFString> registry = info->lookupString("Registry");
  std::optional<CPDFString> ordering = info->lookupString("Ordering");
  if (!registry || !ordering) {
    reportError(-1, "Invalid CIDSystemInfo dictionary in Type 0 descendant font");
    return font;
  }
  f.collection_ = std::string(registry->view()) + "-" + std::string(ordering->view());

  if (RefPtr<CPDFStream> stream = dict.lookupStream("ToUnicode"); stream && context.config) {
    stream->reset();
    std::string text = stream->readAll(kMaxToUnicodeBytes);
    stream->close();
    f.toUnicode_ = CPDFToUnicode::fromToUnicodeStream(text, 16, *context.config);
  }
  if (!f.toUnicode_ && f.collection_ != "Adobe-Identity" && f.collection_ != "Adobe-UCS") {
    if (context.config) {
      f.toUnicode_ = getCIDToUnicode(*context.config, f.collection_);
    }
    if (!f.toUnicode_) {
      reportError(-1, "Unknown character collection '%s'", f.collection_.c_str());
      return font;
    }
  }

  std::optional<std::string> encoding = dict.lookupName("Encoding");
  if (!encoding) {
    reportError(-1, "Missing or invalid Encoding entry in Type 0 font");
    return font;
  }
  if (context.config) {
    f.cmap_ = getCMap(*context.config, f.collection_, *encoding);
  }
  if (!f.cmap_) {
    reportError(-1, "Unknown CPDFMap '%s' for character collection '%s'", encoding->c_str(),
                f.collection_.c_str());
    return font;
  }

  if (f.kind_ == CPDFFontKind::kCIDType2) {
    CPDFObject map = desc->lookup("CIDToGIDMap");
    if (map.isStream()) {
      CPDFStream* s = map.getStream();
      s->reset();
      std::string bytes = s->readAll(kMaxCIDToGIDBytes);
      s->close();
      f.cidToGid_.reserve(64);
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        f.cidToGid_.push_back(static_cast<uint16_t>((static_cast<uint8_t>(bytes[i]) << 8) |
                                                    static_cast<uint8_t>(bytes[i + 1])));
      }
    } else if (!map.isName("Identity") && !map.isNull()) {
      reportError(-1, "Invalid CIDToGIDMap entry in CID font");
    }
  }

  CPDFObject dw = desc->lookup("DW");
  if (dw.isInt()) {
    f.defaultWidth_ = 0.001 * dw.getInt();
  }
  f.readWidths(*desc);
  if (RefPtr<CPDFArray> dw2 = desc->lookupArray("DW2"); dw2 && dw2->count() == 2) {
    CPDFObject y = dw2->get(0);
    CPDFObject h = dw2->get(1);
    if (y.isNum()) {
      f.defaultOriginY_ = 0.001 * y.getNum();
    }
    if (h.isNum()) {
      f.defaultHeight_ = 0.001 * h.getNum();
    }
  }
  f.readVerticalWidths(*desc);
  f.ok_ = true;
  return font;
}

void CPDFCIDFont::readWidths(const CPDFDict& desc) {
  RefPtr<CPDFArray> w = desc.lookupArray("W");
  if (!w) {
    return;
  }
  int i = 0;
  while (i + 1 < w->count()) {
    CPDFObject first = w->get(i);
    CPDFObject next = w->get(i + 1);
    if (validCid(first) && next.isInt()) {
      CPDFObject width = w->get(i + 2);
      if (width.isNum() && next.getInt() >= first.getInt()) {
        widths_.push_back({static_cast<uint32_t>(first.getInt()),
                           static_cast<uint32_t>(next.getInt()), 0.001 * width.getNum()});
        i += 3;
      } else {
        reportError(-1, "Bad widths array in Type 0 font");
        i += 1;
      }
    } else if (validCid(first) && next.isArray()) {
      uint32_t cid = static_cast<uint32_t>(first.getInt());
      CPDFArray& list = *next.getArray();
      for (int j = 0; j < list.count(); ++j) {
        CPDFObject width = list.get(j);
        if (width.isNum()) {
          widths_.push_back({cid, cid, 0.001 * width.getNum()});
          ++cid;
        } else {
          reportError(-1, "Bad widths array in Type 0 font");
        }
      }
      i += 2;
    } else {
      reportError(-1, "Bad widths array in Type 0 font");
      i += 1;
    }
  }
  std::stable_sort(widths_.begin(), widths_.end(),
                   [](const WidthRange& a, const WidthRange& b) { return a.first < b.first; });
}

void CPDFCIDFont::readVerticalWidths(const CPDFDict& desc) {
  RefPtr<CPDFArray> w = desc.lookupArray("W2");
  if (!w) {
    return;
  }
  int i = 0;
  while (i + 1 < w->count()) {
    CPDFObject first = w->get(i);
    CPDFObject next = w->get(i + 1);
    if (validCid(first) && next.isInt()) {
      CPDFObject h = w->get(i + 2);
      CPDFObject vx = w->get(i + 3);
      CPDFObject vy = w->get(i + 4);
      if (h.isNum() && vx.isNum() && vy.isNum() && next.getInt() >= first.getInt()) {
        vertical_.push_back({static_cast<uint32_t>(first.getInt()),
                             static_cast<uint32_t>(next.getInt()), 0.001 * h.getNum(),
                             0.001 * vx.getNum(), 0.001 * vy.getNum()});
        i += 5;
      } else {
        reportError(-1, "Bad widths (W2) array in Type 0 font");
        i += 1;
      }
    } else if (validCid(first) && next.isArray()) {
      uint32_t cid = static_cast<uint32_t>(first.getInt());
      CPDFArray& list = *next.getArray();
      for (int j = 0; j + 2 < list.count(); j += 3) {
        CPDFObject h = list.get(j);
        CPDFObject vx = list.get(j + 1);
        CPDFObject vy = list.get(j + 2);
        if (h.isNum() && vx.isNum() && vy.isNum()) {
          vertical_.push_back(
              {cid, cid, 0.001 * h.getNum(), 0.001 * vx.getNum(), 0.001 * vy.getNum()});
          ++cid;
        } else {
          reportError(-1, "Bad widths (W2) array in Type 0 font");
        }
      }
      i += 2;
    } else {
      reportError(-1, "Bad widths (W2) array in Type 0 font");
      i += 1;
    }
  }
  std::stable_sort(vertical_.begin(), vertical_.end(),
                   [](const VerticalRange& a, const VerticalRange& b) { return a.first < b.first; });
}

double CPDFCIDFont::widthOf(uint32_t cid) const {
  // The last range starting at or before the CID, which must also reach it.
  auto it = std::upper_bound(widths_.begin(), widths_.end(), cid,
                             [](uint32_t c, const WidthRange& r) { return c < r.first; });
  if (it != widths_.begin() && std::prev(it)->last >= cid) {
    return std::prev(it)->width;
  }
  return defaultWidth_;
}

const CPDFCIDFont::VerticalRange* CPDFCIDFont::findVertical(uint32_t cid) const {
  auto it = std::upper_bound(vertical_.begin(), vertical_.end(), cid,
                             [](uint32_t c, const VerticalRange& r) { return c < r.first; });
  if (it != vertical_.begin() && std::prev(it)->last >= cid) {
    return &*std::prev(it);
  }
  return nullptr;
}

int CPDFCIDFont::nextChar(std::span<const uint8_t> bytes, CPDFChar& out) {
  out = CPDFChar{};
  if (!cmap_ || bytes.empty()) {
    return 1;
  }
  size_t used = 1;
  uint32_t cid = cmap_->decodeNext(bytes.data(), bytes.size(), used);
  out.code = cid;
  if (toUnicode_) {
    out.unicodeCount = toUnicode_->map(cid, out.unicode.data(), static_cast<int>(out.unicode.size()));
  }
  writingMode_ = cmap_->writingMode();
  if (writingMode_ == 0) {
    out.dx = widthOf(cid);
  } else {
    const VerticalRange* v = findVertical(cid);
    out.dy = v ? v->height : defaultHeight_;
    out.originX = v ? v->originX : defaultWidth_ / 2;
    out.originY = v ? v->originY : defaultOriginY_;
  }
  return used > 0 ? static_cast<int>(used) : 1;
}

}  // namespace qv
