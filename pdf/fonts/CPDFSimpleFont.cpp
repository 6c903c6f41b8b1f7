#include "pdf/fonts/CPDFSimpleFont.h"

#include <cctype>
#include <string_view>

#include "pdf/config/CPDFConfig.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/core/HexDigit.h"
#include "pdf/fonts/FontLimits.h"
#include "pdf/fonts/data/FontEncodings.h"
#include "pdf/fonts/data/StandardFonts.h"

namespace qv {

namespace {

bool isHexLetter(char c) {
  return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// A name of the "hexadecimal" families: a letter and two hex digits, or two hex digits, with
// at least one hex digit written as a letter.
bool looksHexadecimal(std::string_view n) {
  if (n.size() == 3 && isLetter(n[0]) && hexDigitValue(n[1]) >= 0 && hexDigitValue(n[2]) >= 0) {
    return isHexLetter(n[1]) || isHexLetter(n[2]);
  }
  if (n.size() == 2 && hexDigitValue(n[0]) >= 0 && hexDigitValue(n[1]) >= 0) {
    return isHexLetter(n[0]) || isHexLetter(n[1]);
  }
  return false;
}

int decimalValue(std::string_view digits) {
  int value = 0;
  for (char c : digits) {
    if (!isDigit(c))
      return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The code a numeric glyph name stands for, or -1.
int numericNameValue(std::string_view n, bool hex) {
  int value = -1;
  if (hex) {
    if (n.size() == 3 && isLetter(n[0]) && hexDigitValue(n[1]) >= 0 && hexDigitValue(n[2]) >= 0) {
      value = hexDigitValue(n[1]) * 16 + hexDigitValue(n[2]);
    } else if (n.size() == 2 && hexDigitValue(n[0]) >= 0 && hexDigitValue(n[1]) >= 0) {
      value = hexDigitValue(n[0]) * 16 + hexDigitValue(n[1]);
    }
  }
  if (value < 0 && n.size() >= 2 && n.size() <= 4 && isDigit(n[0]) && isDigit(n[1])) {
    value = decimalValue(n);
  }
  if (value < 0 && n.size() >= 3 && n.size() <= 5 && isDigit(n[1]) && isDigit(n[2])) {
    value = decimalValue(n.substr(1));
  }
  return value >= 0 && value <= 255 ? value : -1;
}

// The standard font whose widths stand in for a font without Widths, chosen by its flags.
const char* fallbackFontName(int flags) {
  static constexpr const char* kNames[3][4] = {
      {"Courier", "Courier-Oblique", "Courier-Bold", "Courier-BoldOblique"},
      {"Times-Roman", "Times-Italic", "Times-Bold", "Times-BoldItalic"},
      {"Helvetica", "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique"},
  };
  int family = (flags & CPDFFont::kFlagFixedPitch) ? 0 : (flags & CPDFFont::kFlagSerif) ? 1 : 2;
  int style = ((flags & CPDFFont::kFlagBold) ? 2 : 0) + ((flags & CPDFFont::kFlagItalic) ? 1 : 0);
  return kNames[family][style];
}

}  // namespace

std::unique_ptr<CPDFFont> CPDFSimpleFont::build(CPDFFontContext& context, std::string tag,
                                                CPDFRef ref, std::optional<std::string> name,
                                                CPDFFontKind kind, const CPDFDict& dict) {
  std::unique_ptr<CPDFSimpleFont> font(
      new CPDFSimpleFont(std::move(tag), ref, std::move(name), kind));
  CPDFSimpleFont& f = *font;
  f.codePage_ = context.codePage;

  // Common names of the standard fonts.
  if (f.name_) {
    if (std::optional<std::string_view> standard = standardFontAlias(*f.name_)) {
      f.name_ = std::string(*standard);
      f.isStandardName_ = true;
    } else if (isStandardFontTableName(*f.name_)) {
      f.isStandardName_ = true;
    }
  }
  const StandardFont* standard = f.name_ ? StandardFont::find(*f.name_) : nullptr;
  if (standard) {
    const StandardFontData& data = standard->data();
    f.ascent_ = 0.001 * data.ascent;
    f.descent_ = 0.001 * data.descent;
    for (int i = 0; i < 4; ++i) {
      f.fontBBox_[i] = 0.001 * data.bbox[i];
    }
  }
  f.readFontDescriptor(context, dict);

  if (RefPtr<CPDFArray> matrix = dict.lookupArray("FontMatrix")) {
    for (int i = 0; i < 6 && i < matrix->count(); ++i) {
      CPDFObject value = matrix->get(i);
      if (value.isNum()) {
        f.fontMatrix_[i] = value.getNum();
      }
    }
  }
  if (f.kind_ == CPDFFontKind::kType3) {
    f.charProcs_ = dict.lookupDict("CharProcs");
    if (!f.charProcs_) {
      reportError(-1, "Missing or invalid CharProcs dictionary in Type 3 font");
    }
  }

  // Base encoding: a name, or the BaseEncoding of an encoding dictionary.
  const FontEncodingTable* base = nullptr;
  CPDFObject encoding = dict.lookup("Encoding");
  std::optional<std::string> baseName;
  if (encoding.isName()) {
    baseName = encoding.getName();
  } else if (encoding.isDict()) {
    baseName = encoding.getDict()->lookupName("BaseEncoding");
  }
  if (baseName) {
    base = findBaseEncoding(*baseName);
    f.hasEncoding_ = base != nullptr;
  }

  // The font program gives a better font name and, without a base encoding, the encoding.
  bool fromProgram = false;
  if (f.kind_ == CPDFFontKind::kType1 || f.kind_ == CPDFFontKind::kType1C ||
      f.kind_ == CPDFFontKind::kTrueType) {
    if (std::optional<std::string> program = f.readFontProgram(context)) {
      std::unique_ptr<CPDFFontFileReader> reader =
          f.kind_ == CPDFFontKind::kType1    ? CPDFFontFileReader::readType1(*program)
          : f.kind_ == CPDFFontKind::kType1C ? CPDFFontFileReader::readType1C(*program)
                                             : CPDFFontFileReader::readTrueType(*program);
      if (std::optional<std::string> programName = reader->fontName()) {
        f.embeddedName_ = std::move(programName);
      }
      if (!base) {
        f.encoding_ = reader->encoding();
        fromProgram = true;
      }
    }
  }
  if (!fromProgram) {
    if (!base) {
      base = standard                             ? standard->data().encoding
             : f.kind_ == CPDFFontKind::kTrueType ? &macRomanEncoding()
                                                  : &standardEncoding();
    }
    for (int code = 0; code < 256; ++code) {
      if ((*base)[code]) {
        f.encoding_[code] = std::string((*base)[code]);
      }
    }
  }

  if (encoding.isDict()) {
    if (RefPtr<CPDFArray> diffs = encoding.getDict()->lookupArray("Differences")) {
      int64_t code = 0;
      for (int i = 0; i < diffs->count(); ++i) {
        CPDFObject item = diffs->get(i);
        if (item.isInt()) {
          code = item.getInt();
        } else if (item.isName()) {
          if (code >= 0 && code < 256) {
            f.encoding_[code] = item.getName();
          }
          ++code;
        } else {
          reportError(-1, "Wrong type in font encoding resource differences (%s)", item.typeName());
        }
      }
    }
  }

  f.buildUnicodeMap(context, dict);
  f.buildWidths(dict);
  f.ok_ = true;
  return font;
}

void CPDFSimpleFont::buildUnicodeMap(CPDFFontContext& context, const CPDFDict& dict) {
  if (RefPtr<CPDFStream> stream = dict.lookupStream("ToUnicode")) {
    if (context.config) {
      stream->reset();
      std::string text = stream->readAll(kMaxToUnicodeBytes);
      stream->close();
      toUnicode_ = CPDFToUnicode::fromToUnicodeStream(text, 8, *context.config);
      if (toUnicode_) {
        return;
      }
    }
  }
  std::array<char16_t, 256> table{};
  bool missing = false;
  for (int code = 0; code < 256; ++code) {
    if (encoding_[code]) {
      table[code] = context.config ? context.config->mapNameToUnicode(*encoding_[code]) : 0;
      if (table[code] == 0 && *encoding_[code] != ".notdef") {
        missing = true;
      }
    }
  }
  if (missing && context.config && context.config->mapNumericCharNames()) {
    bool hex = false;
    for (int code = 0; code < 256 && !hex; ++code) {
      if (encoding_[code] && table[code] == 0 && looksHexadecimal(*encoding_[code])) {
        hex = true;
      }
    }
    for (int code = 0; code < 256; ++code) {
      if (encoding_[code] && table[code] == 0 && *encoding_[code] != ".notdef") {
        int value = numericNameValue(*encoding_[code], hex);
        if (value >= 0) {
          table[code] = static_cast<char16_t>(value);
        }
      }
    }
  }
  toUnicode_ = CPDFToUnicode::fromCodeTable(table);
}

void CPDFSimpleFont::buildWidths(const CPDFDict& dict) {
  widths_.fill(0.001 * missingWidth_);
  int64_t firstChar = dict.lookupInt("FirstChar", 0);
  int64_t lastChar = dict.lookupInt("LastChar", 255);
  double scale = kind_ == CPDFFontKind::kType3 ? fontMatrix_[0] : 0.001;
  if (RefPtr<CPDFArray> widths = dict.lookupArray("Widths")) {
    for (int64_t code = std::max<int64_t>(firstChar, 0); code <= lastChar && code < 256; ++code) {
      CPDFObject w = widths->get(static_cast<int>(code - firstChar));
      if (w.isNum()) {
        widths_[code] = w.getNum() * scale;
      }
    }
    return;
  }
  const StandardFont* standard = name_ ? StandardFont::find(*name_) : nullptr;
  if (!standard) {
    standard = StandardFont::find(fallbackFontName(flags_));
  }
  if (!standard) {
    return;
  }
  for (int code = 0; code < 256; ++code) {
    if (encoding_[code]) {
      if (std::optional<int> w = standard->width(*encoding_[code])) {
        widths_[code] = 0.001 * *w;
      }
    }
  }
  // Code 32 is the word space whatever glyph the encoding gives it, so it keeps the width
  // of "space".
  if (std::optional<int> space = standard->width("space")) {
    widths_[32] = 0.001 * *space;
  }
}

int CPDFSimpleFont::nextChar(std::span<const uint8_t> bytes, CPDFChar& out) {
  out = CPDFChar{};
  if (bytes.empty()) {
    return 1;
  }
  uint8_t b0 = bytes[0];
  if (isDoubleByteCodePage(codePage_) && bytes.size() >= 2 && !hasEmbeddedFont() &&
      !isStandardName_ && b0 > 128 && b0 != 255 && bytes[1] >= 128 && bytes[1] != 255) {
    uint8_t b1 = bytes[1];
    out.code = static_cast<uint32_t>(b0) * 256 + b1;
    char16_t u = convertDoubleByte(codePage_, b0, b1);
    if (u != 0) {
      out.unicode[0] = u;
      out.unicodeCount = 1;
    }
    out.dx = widths_[b0] + widths_[b1];
    return 2;
  }
  out.code = b0;
  if (toUnicode_) {
    out.unicodeCount =
        toUnicode_->map(b0, out.unicode.data(), static_cast<int>(out.unicode.size()));
  }
  out.dx = widths_[b0];
  return 1;
}

}  // namespace qv
