#include "pdf/fonts/fontfile/CPDFTrueTypeFontReader.h"

#include <algorithm>

#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/fontfile/FontFileBytes.h"
#include "pdf/fonts/fontfile/MacGlyphNames.h"

namespace qv {

namespace {

constexpr uint32_t tagOf(const char* tag) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(tag[0])) << 24) |
         (static_cast<uint32_t>(static_cast<uint8_t>(tag[1])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(tag[2])) << 8) |
         static_cast<uint32_t>(static_cast<uint8_t>(tag[3]));
}

// A table directory can only name a few dozen distinct tables; more records than this are
// not read.
constexpr uint32_t kMaxTables = 256;

}  // namespace

CPDFTrueTypeFontReader::CPDFTrueTypeFontReader(std::string_view bytes) : data_(bytes) {
  FontFileBytes in(data_);
  uint32_t count = std::min<uint32_t>(in.u16(4), kMaxTables);
  for (uint32_t i = 0; i < count; ++i) {
    size_t pos = 12 + 16 * static_cast<size_t>(i);
    if (!in.has(pos, 16)) {
      break;
    }
    tables_.push_back({in.u32(pos), in.u32(pos + 4), in.u32(pos + 8), in.u32(pos + 12)});
  }
  for (const char* tag : {"head", "hhea", "loca", "maxp", "glyf", "hmtx"}) {
    if (!findTable(tag)) {
      reportError(-1, "TrueType font file is missing a required table");
      return;
    }
  }
  const Table* head = findTable("head");
  xMin_ = in.s16(head->offset + 36);
  yMin_ = in.s16(head->offset + 38);
  xMax_ = in.s16(head->offset + 40);
  yMax_ = in.s16(head->offset + 42);
  indexToLocFormat_ = in.s16(head->offset + 50);
  glyphCount_ = in.u16(findTable("maxp")->offset + 4);
}

const CPDFTrueTypeFontReader::Table* CPDFTrueTypeFontReader::findTable(const char* tag) const {
  uint32_t t = tagOf(tag);
  for (const Table& table : tables_) {
    if (table.tag == t) {
      return &table;
    }
  }
  return nullptr;
}

const GlyphNameTable& CPDFTrueTypeFontReader::encoding() {
  if (!encodingBuilt_) {
    encodingBuilt_ = true;
    FontFileBytes in(data_);
    std::array<uint32_t, 256> glyphs{};
    readCodeToGlyph(in, glyphs);
    readNames(in, glyphs);
  }
  return encoding_;
}

void CPDFTrueTypeFontReader::readCodeToGlyph(const FontFileBytes& in,
                                             std::array<uint32_t, 256>& glyphs) const {
  const Table* cmap = findTable("cmap");
  if (!cmap) {
    return;
  }
  size_t base = cmap->offset;
  uint32_t subtables = in.u16(base + 2);
  int chosen = -1;
  for (uint32_t i = 0; i < subtables && in.has(base + 4 + 8 * i, 8); ++i) {
    if (in.u16(base + 4 + 8 * i) == 3 && in.u16(base + 6 + 8 * i) == 0) {
      chosen = static_cast<int>(i);
      break;
    }
  }
  if (chosen < 0) {
    if (subtables == 0) {
      return;
    }
    chosen = 0;
  }
  size_t record = base + 4 + 8 * static_cast<size_t>(chosen);
  bool symbol = in.u16(record) == 3 && in.u16(record + 2) == 0;
  size_t sub = base + in.u32(record + 4);
  uint32_t format = in.u16(sub);
  if (in.failed()) {
    return;
  }
  if (format == 0) {
    uint32_t length = in.u16(sub + 2);
    for (uint32_t code = 0; code < 256 && 6 + code < length; ++code) {
      if (!in.has(sub + 6 + code, 1)) {
        break;
      }
      glyphs[code] = in.u8(sub + 6 + code);
    }
  } else if (format == 4) {
    // Symbol fonts put their codes at U+F000..U+F0FF.
    uint32_t codeBase = symbol ? 0xF000 : 0;
    uint32_t segments = in.u16(sub + 6) / 2;
    size_t ends = sub + 14;
    size_t starts = ends + 2 * segments + 2;
    size_t deltas = starts + 2 * segments;
    size_t rangeOffsets = deltas + 2 * segments;
    for (uint32_t s = 0; s < segments && in.has(rangeOffsets + 2 * s, 2); ++s) {
      uint32_t end = in.u16(ends + 2 * s);
      uint32_t start = in.u16(starts + 2 * s);
      uint32_t delta = in.u16(deltas + 2 * s);
      uint32_t rangeOffset = in.u16(rangeOffsets + 2 * s);
      for (uint32_t code = std::max(start, codeBase); code <= end && code < codeBase + 256;
           ++code) {
        uint32_t glyph = 0;
        if (rangeOffset == 0) {
          glyph = (code + delta) & 0xffff;
        } else {
          size_t at = rangeOffsets + 2 * s + rangeOffset + 2 * (code - start);
          glyph = in.u16(at);
          if (glyph != 0) {
            glyph = (glyph + delta) & 0xffff;
          }
        }
        glyphs[code - codeBase] = glyph;
      }
    }
  } else if (format == 6) {
    uint32_t first = in.u16(sub + 6);
    uint32_t count = in.u16(sub + 8);
    for (uint32_t i = 0; i < count && first + i < 256; ++i) {
      glyphs[first + i] = in.u16(sub + 10 + 2 * i);
    }
  } else {
    reportError(-1, "Unimplemented cmap format (%d) in TrueType font file",
                static_cast<int>(format));
  }
}

void CPDFTrueTypeFontReader::readNames(const FontFileBytes& in,
                                       const std::array<uint32_t, 256>& glyphs) {
  const auto& mac = macGlyphNames();
  const Table* post = findTable("post");
  uint32_t format = post ? in.u32(post->offset) : 0x00010000;
  if (post && format == 0x00020000) {
    size_t pos = post->offset;
    uint32_t count = in.u16(pos + 32);
    // The Pascal strings of the name list, in order, found once.
    std::vector<std::string_view> strings;
    size_t p = pos + 34 + 2 * static_cast<size_t>(count);
    size_t end = std::min<size_t>(in.size(), static_cast<size_t>(post->offset) + post->length);
    while (p < end && strings.size() < 65536) {
      uint32_t len = in.u8(p);
      strings.push_back(in.sub(p + 1, std::min<size_t>(len, end - p - 1)));
      p += 1 + len;
    }
    for (int code = 0; code < 256; ++code) {
      uint32_t glyph = glyphs[code];
      std::string name = ".notdef";
      if (glyph < count && in.has(pos + 34 + 2 * glyph, 2)) {
        uint32_t index = in.u16(pos + 34 + 2 * glyph);
        if (index < kMacGlyphNameCount) {
          name = mac[index];
        } else if (index - kMacGlyphNameCount < strings.size()) {
          name = std::string(strings[index - kMacGlyphNameCount]);
        }
      }
      encoding_[code] = name;
    }
    return;
  }
  if (post && format == 0x00028000) {
    size_t pos = post->offset;
    uint32_t count = in.u16(pos + 32);
    for (int code = 0; code < 256; ++code) {
      uint32_t glyph = glyphs[code];
      std::string name = ".notdef";
      if (glyph < count && in.has(pos + 34 + glyph, 1)) {
        int32_t index = static_cast<int32_t>(glyph) + static_cast<int8_t>(in.u8(pos + 34 + glyph));
        if (index >= 0 && index < static_cast<int32_t>(kMacGlyphNameCount)) {
          name = mac[index];
        }
      }
      encoding_[code] = name;
    }
    return;
  }
  // No post table, format 1 and the formats without names: the standard Macintosh order.
  for (int code = 0; code < 256; ++code) {
    uint32_t glyph = glyphs[code];
    encoding_[code] = glyph < kMacGlyphNameCount ? mac[glyph] : ".notdef";
  }
}

}  // namespace qv
