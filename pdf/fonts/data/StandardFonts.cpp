#include "pdf/fonts/data/StandardFonts.h"

#include <iterator>
#include <vector>

#include "pdf/config/CPDFNameToCharCode.h"

namespace qv {

namespace {

struct Alias {
  const char* alias;
  const char* name;
};

// Names that producers write for the standard fonts, mostly those of the Windows fonts with
// the same metrics.
constexpr Alias kAliases[] = {
    {"Arial", "Helvetica"},
    {"Arial,Bold", "Helvetica-Bold"},
    {"Arial,BoldItalic", "Helvetica-BoldOblique"},
    {"Arial,Italic", "Helvetica-Oblique"},
    {"Arial-Bold", "Helvetica-Bold"},
    {"Arial-BoldItalic", "Helvetica-BoldOblique"},
    {"Arial-BoldItalicMT", "Helvetica-BoldOblique"},
    {"Arial-BoldMT", "Helvetica-Bold"},
    {"Arial-Italic", "Helvetica-Oblique"},
    {"Arial-ItalicMT", "Helvetica-Oblique"},
    {"ArialMT", "Helvetica"},
    {"Courier,Bold", "Courier-Bold"},
    {"Courier,BoldItalic", "Courier-BoldOblique"},
    {"Courier,Italic", "Courier-Oblique"},
    {"CourierNew", "Courier"},
    {"CourierNew,Bold", "Courier-Bold"},
    {"CourierNew,BoldItalic", "Courier-BoldOblique"},
    {"CourierNew,Italic", "Courier-Oblique"},
    {"CourierNew-Bold", "Courier-Bold"},
    {"CourierNew-BoldItalic", "Courier-BoldOblique"},
    {"CourierNew-Italic", "Courier-Oblique"},
    {"CourierNewPS-BoldItalicMT", "Courier-BoldOblique"},
    {"CourierNewPS-BoldMT", "Courier-Bold"},
    {"CourierNewPS-ItalicMT", "Courier-Oblique"},
    {"CourierNewPSMT", "Courier"},
    {"Helvetica,Bold", "Helvetica-Bold"},
    {"Helvetica,BoldItalic", "Helvetica-BoldOblique"},
    {"Helvetica,Italic", "Helvetica-Oblique"},
    {"Helvetica-BoldItalic", "Helvetica-BoldOblique"},
    {"Helvetica-Italic", "Helvetica-Oblique"},
    {"TimesNewRoman", "Times-Roman"},
    {"TimesNewRoman,Bold", "Times-Bold"},
    {"TimesNewRoman,BoldItalic", "Times-BoldItalic"},
    {"TimesNewRoman,Italic", "Times-Italic"},
    {"TimesNewRoman-Bold", "Times-Bold"},
    {"TimesNewRoman-BoldItalic", "Times-BoldItalic"},
    {"TimesNewRoman-Italic", "Times-Italic"},
    {"TimesNewRomanPS", "Times-Roman"},
    {"TimesNewRomanPS-Bold", "Times-Bold"},
    {"TimesNewRomanPS-BoldItalic", "Times-BoldItalic"},
    {"TimesNewRomanPS-BoldItalicMT", "Times-BoldItalic"},
    {"TimesNewRomanPS-BoldMT", "Times-Bold"},
    {"TimesNewRomanPS-Italic", "Times-Italic"},
    {"TimesNewRomanPS-ItalicMT", "Times-Italic"},
    {"TimesNewRomanPSMT", "Times-Roman"},
};
static_assert(std::size(kAliases) == 45);

}  // namespace

// The fonts with their width hash tables, built once on first use.
struct StandardFontRegistry {
  std::array<StandardFont, kStandardFontCount> fonts;
  std::vector<CPDFNameToCharCode> widths;

  StandardFontRegistry() {
    const auto& data = standardFontData();
    widths.resize(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
      fonts[i].data_ = &data[i];
      fonts[i].index_ = i;
      for (size_t j = 0; j < data[i].widthCount; ++j) {
        widths[i].add(data[i].widths[j].name, data[i].widths[j].width);
      }
    }
  }

  static const StandardFontRegistry& get() {
    static const StandardFontRegistry registry;
    return registry;
  }
};

const StandardFont* StandardFont::find(std::string_view name) {
  const StandardFontRegistry& registry = StandardFontRegistry::get();
  for (const StandardFont& font : registry.fonts) {
    if (name == font.data_->name) {
      return &font;
    }
  }
  return nullptr;
}

std::optional<int> StandardFont::width(std::string_view glyph) const {
  std::optional<uint32_t> width = StandardFontRegistry::get().widths[index_].lookup(glyph);
  if (!width) {
    return std::nullopt;
  }
  return static_cast<int>(*width);
}

std::optional<std::string_view> standardFontAlias(std::string_view name) {
  for (const Alias& alias : kAliases) {
    if (name == alias.alias) {
      return std::string_view(alias.name);
    }
  }
  return std::nullopt;
}

bool isStandardFontTableName(std::string_view name) {
  for (const Alias& alias : kAliases) {
    if (name == alias.alias || name == alias.name) {
      return true;
    }
  }
  return false;
}

}  // namespace qv
