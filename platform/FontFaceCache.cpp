#include "platform/FontFaceCache.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

struct FamilySubstitute {
  const char* face;
  const char* family;
};

// Metric-compatible stand-ins for the faces the page device names most often.
constexpr FamilySubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
};

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Reads the Windows cell height and average width from the face's OS/2 table; fonts
// without one fall back to the FreeType ascender and descender.
FontFaceMetrics readMetrics(cairo_font_face_t* face) {
  FontFaceMetrics metrics;
  cairo_matrix_t fontMatrix;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&fontMatrix, 64, 64);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &fontMatrix, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) {
    FT_Face ft = cairo_ft_scaled_font_lock_face(scaled);
    if (ft != nullptr && ft->units_per_EM > 0) {
      const double upem = ft->units_per_EM;
      auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
      double cell = 0;
      if (os2 != nullptr && os2->version != 0xFFFF) {
        cell = (static_cast<double>(os2->usWinAscent) + os2->usWinDescent) / upem;
        if (os2->xAvgCharWidth > 0) {
          metrics.avgCharWidth = os2->xAvgCharWidth / upem;
        }
      }
      if (cell <= 0) {
        cell = (static_cast<double>(ft->ascender) - ft->descender) / upem;
      }
      if (cell > 0.1 && cell < 10) {
        metrics.cellHeight = cell;
      }
      if (metrics.avgCharWidth < 0.01 || metrics.avgCharWidth > 10) {
        metrics.avgCharWidth = 0.5;
      }
    }
    if (ft != nullptr) {
      cairo_ft_scaled_font_unlock_face(scaled);
    }
  }
  cairo_scaled_font_destroy(scaled);
  return metrics;
}

cairo_font_face_t* matchFace(const std::string& family, bool bold, bool italic) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) {
    return nullptr;
  }
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) {
    return nullptr;
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return nullptr;
  }
  return face;
}

}  // namespace

FontFaceCache::~FontFaceCache() {
  for (auto& [key, entry] : faces_) {
    cairo_font_face_destroy(entry.face);
  }
}

std::string FontFaceCache::substituteFamily(std::string_view family) {
  // "@Face" names the vertical-writing variant of Face; fontconfig knows only Face.
  if (family.size() > 1 && family.front() == '@') {
    family.remove_prefix(1);
  }
  for (const auto& substitute : kSubstitutes) {
    if (equalsIgnoreCase(family, substitute.face)) {
      return substitute.family;
    }
  }
  return std::string(family);
}

const FontFaceCache::Entry* FontFaceCache::find(std::string_view family, bool bold, bool italic) {
  auto key = std::make_tuple(std::string(family), bold, italic);
  if (auto it = faces_.find(key); it != faces_.end()) {
    return it->second.face != nullptr ? &it->second : nullptr;
  }
  if (faces_.size() >= kMaxFaces) {
    for (auto& [oldKey, entry] : faces_) {
      cairo_font_face_destroy(entry.face);
    }
    faces_.clear();
  }
  Entry entry;
  entry.face = matchFace(substituteFamily(family), bold, italic);
  if (entry.face != nullptr) {
    entry.metrics = readMetrics(entry.face);
  }
  auto [it, inserted] = faces_.emplace(std::move(key), entry);
  return it->second.face != nullptr ? &it->second : nullptr;
}

}  // namespace qv
