#include "pdf/fonts/fontfile/CPDFType1CFontReader.h"

#include <algorithm>

#include "pdf/fonts/data/FontEncodings.h"
#include "pdf/fonts/fontfile/CffStandardData.h"
#include "pdf/fonts/fontfile/FontFileBytes.h"

namespace qv {

namespace {

constexpr int kOpCharset = 15;
constexpr int kOpEncoding = 16;
constexpr int kOpCharStrings = 17;

}  // namespace

CPDFType1CFontReader::CPDFType1CFontReader(std::string_view bytes) : data_(bytes) {
  FontFileBytes in(data_);
  if (in.size() < 4) {
    return;
  }
  Index names = readIndex(in, in.u8(2));
  if (!names.ok) {
    return;
  }
  if (names.count > 0) {
    std::string_view name = indexItem(in, names, 0);
    name_ = std::string(name.substr(0, kMaxNameLength));
  }
  Index topDicts = readIndex(in, names.end);
  if (!topDicts.ok || topDicts.count == 0) {
    return;
  }
  strings_ = readIndex(in, topDicts.end);
  readTopDict(in, indexItem(in, topDicts, 0));
  uint32_t glyphs = 0;
  if (charStringsOffset_ >= 0) {
    Index charStrings = readIndex(in, static_cast<size_t>(charStringsOffset_));
    glyphs = charStrings.ok ? charStrings.count : 0;
  }
  readEncoding(in, readCharset(in, glyphs));
}

CPDFType1CFontReader::Index CPDFType1CFontReader::readIndex(const FontFileBytes& in,
                                                            size_t pos) const {
  Index index;
  index.pos = pos;
  if (!in.has(pos, 2)) {
    return index;
  }
  index.count = in.u16(pos);
  if (index.count == 0) {
    index.end = pos + 2;
    index.ok = true;
    return index;
  }
  index.offSize = in.u8(pos + 2);
  if (index.offSize < 1 || index.offSize > 4) {
    return index;
  }
  size_t offsets = pos + 3;
  size_t offsetBytes = (static_cast<size_t>(index.count) + 1) * index.offSize;
  if (!in.has(offsets, offsetBytes)) {
    return index;
  }
  index.dataBase = offsets + offsetBytes - 1;
  uint32_t last = in.uint(offsets + index.count * index.offSize, index.offSize);
  index.end = index.dataBase + last;
  index.ok = index.end <= in.size();
  return index;
}

std::string_view CPDFType1CFontReader::indexItem(const FontFileBytes& in, const Index& index,
                                                 uint32_t i) const {
  if (!index.ok || i >= index.count) {
    return {};
  }
  size_t offsets = index.pos + 3;
  uint32_t start = in.uint(offsets + i * index.offSize, index.offSize);
  uint32_t end = in.uint(offsets + (i + 1) * index.offSize, index.offSize);
  if (start < 1 || end < start) {
    return {};
  }
  return in.sub(index.dataBase + start, end - start);
}

void CPDFType1CFontReader::readTopDict(const FontFileBytes&, std::string_view dict) {
  double operands[kMaxDictOperands];
  int count = 0;
  FontFileBytes in(dict);
  size_t pos = 0;
  auto push = [&](double value) {
    if (count < kMaxDictOperands) {
      operands[count++] = value;
    }
  };
  while (pos < in.size()) {
    uint32_t b0 = in.u8(pos);
    if (b0 <= 21) {
      int op = static_cast<int>(b0);
      ++pos;
      if (b0 == 12) {
        op = 1200 + static_cast<int>(in.u8(pos));
        ++pos;
      }
      if (count > 0) {
        int64_t value = static_cast<int64_t>(operands[count - 1]);
        if (op == kOpCharset) {
          charsetOffset_ = value;
        } else if (op == kOpEncoding) {
          encodingOffset_ = value;
        } else if (op == kOpCharStrings) {
          charStringsOffset_ = value;
        }
      }
      count = 0;
    } else if (b0 == 28) {
      push(static_cast<int16_t>(in.u16(pos + 1)));
      pos += 3;
    } else if (b0 == 29) {
      push(static_cast<int32_t>(in.u32(pos + 1)));
      pos += 5;
    } else if (b0 == 30) {
      // A real number in nibbles; its value is of no use here, so it is only skipped.
      ++pos;
      while (pos < in.size()) {
        uint32_t b = in.u8(pos++);
        if ((b & 0x0f) == 0x0f || (b >> 4) == 0x0f) {
          break;
        }
      }
      push(0.0);
    } else if (b0 >= 32 && b0 <= 246) {
      push(static_cast<double>(b0) - 139);
      ++pos;
    } else if (b0 >= 247 && b0 <= 250) {
      push((static_cast<double>(b0) - 247) * 256 + in.u8(pos + 1) + 108);
      pos += 2;
    } else if (b0 >= 251 && b0 <= 254) {
      push(-(static_cast<double>(b0) - 251) * 256 - in.u8(pos + 1) - 108);
      pos += 2;
    } else {
      ++pos;  // reserved byte
    }
  }
}

std::vector<uint16_t> CPDFType1CFontReader::readCharset(const FontFileBytes& in,
                                                        uint32_t glyphs) const {
  std::vector<uint16_t> sids;
  if (charsetOffset_ == 0) {
    for (uint32_t g = 0; g < kCffIsoAdobeGlyphCount; ++g) {
      sids.push_back(static_cast<uint16_t>(g));
    }
    return sids;
  }
  if (charsetOffset_ == 1 || charsetOffset_ == 2) {
    auto table = charsetOffset_ == 1 ? cffExpertCharset() : cffExpertSubsetCharset();
    return std::vector<uint16_t>(table.begin(), table.end());
  }
  if (charsetOffset_ < 0 || !in.has(static_cast<size_t>(charsetOffset_), 1)) {
    return sids;
  }
  size_t pos = static_cast<size_t>(charsetOffset_);
  uint32_t format = in.u8(pos++);
  sids.push_back(0);
  // Every loop stops at the glyph count and at the end of the program.
  while (sids.size() < glyphs && pos < in.size()) {
    if (format == 0) {
      sids.push_back(static_cast<uint16_t>(in.u16(pos)));
      pos += 2;
    } else if (format == 1 || format == 2) {
      uint32_t first = in.u16(pos);
      uint32_t left = format == 1 ? in.u8(pos + 2) : in.u16(pos + 2);
      pos += format == 1 ? 3 : 4;
      for (uint32_t k = 0; k <= left && sids.size() < glyphs; ++k) {
        sids.push_back(static_cast<uint16_t>(first + k));
      }
    } else {
      break;
    }
    if (in.failed()) {
      break;
    }
  }
  return sids;
}

std::string CPDFType1CFontReader::sidName(const FontFileBytes& in, uint32_t sid) const {
  if (sid < kCffStandardStringCount) {
    return cffStandardStrings()[sid];
  }
  std::string_view s =
      indexItem(in, strings_, sid - static_cast<uint32_t>(kCffStandardStringCount));
  return std::string(s.substr(0, kMaxNameLength));
}

void CPDFType1CFontReader::readEncoding(const FontFileBytes& in,
                                        const std::vector<uint16_t>& charset) {
  if (encodingOffset_ == 0) {
    const FontEncodingTable& standard = standardEncoding();
    for (int code = 0; code < 256; ++code) {
      if (standard[code]) {
        encoding_[code] = std::string(standard[code]);
      }
    }
    return;
  }
  if (encodingOffset_ == 1) {
    const auto& expert = cffExpertEncoding();
    for (int code = 0; code < 256; ++code) {
      if (expert[code]) {
        encoding_[code] = cffStandardStrings()[expert[code]];
      }
    }
    return;
  }
  if (encodingOffset_ < 0 || !in.has(static_cast<size_t>(encodingOffset_), 1)) {
    return;
  }
  size_t pos = static_cast<size_t>(encodingOffset_);
  uint32_t format = in.u8(pos++);
  auto assign = [&](uint32_t code, size_t glyph) {
    if (code < 256 && glyph < charset.size()) {
      encoding_[code] = sidName(in, charset[glyph]);
    }
  };
  if ((format & 0x7f) == 0) {
    uint32_t codes = in.u8(pos++);
    for (uint32_t i = 0; i < codes && pos < in.size(); ++i) {
      assign(in.u8(pos++), i + 1);
    }
  } else if ((format & 0x7f) == 1) {
    uint32_t ranges = in.u8(pos++);
    size_t glyph = 1;
    for (uint32_t i = 0; i < ranges && in.has(pos, 2); ++i) {
      uint32_t first = in.u8(pos);
      uint32_t left = in.u8(pos + 1);
      pos += 2;
      for (uint32_t k = 0; k <= left; ++k) {
        assign(first + k, glyph++);
      }
    }
  } else {
    return;
  }
  if (format & 0x80) {
    uint32_t sups = in.u8(pos++);
    for (uint32_t i = 0; i < sups && in.has(pos, 3); ++i) {
      uint32_t code = in.u8(pos);
      uint32_t sid = in.u16(pos + 1);
      pos += 3;
      if (code < 256) {
        encoding_[code] = sidName(in, sid);
      }
    }
  }
}

}  // namespace qv
