#pragma once

// Finds an installed font for a window-system face description (face name, bold, italic)
// through fontconfig and keeps the cairo font face with the metrics that turn a cell
// height and an average character width into a font matrix. Owned by one Canvas and used
// on its thread only; the faces live as long as the cache (cairo may keep its own
// references a little longer, which it releases itself).
//
// The common Windows faces are mapped to the metric-compatible Liberation families here,
// before fontconfig is asked, so the choice does not depend on the machine's aliases.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

typedef struct _cairo_font_face cairo_font_face_t;

namespace qv {

struct FontFaceMetrics {
  double cellHeight = 1.0;    // ascent + descent (Windows metrics), in em units
  double avgCharWidth = 0.5;  // average character width, in em units
};

class FontFaceCache {
 public:
  struct Entry {
    cairo_font_face_t* face = nullptr;  // owned by the cache
    FontFaceMetrics metrics;
  };

  FontFaceCache() = default;
  ~FontFaceCache();
  FontFaceCache(const FontFaceCache&) = delete;
  FontFaceCache& operator=(const FontFaceCache&) = delete;

  // The face for the description, or null when no font at all can be found.
  const Entry* find(std::string_view family, bool bold, bool italic);

  // The family asked of fontconfig for a window-system face name: the Liberation stand-ins
  // for the Arial, Times New Roman and Courier New families, the name itself otherwise.
  static std::string substituteFamily(std::string_view family);

  // Bounds the number of distinct faces a hostile page can make the cache hold.
  static constexpr size_t kMaxFaces = 64;

 private:
  std::map<std::tuple<std::string, bool, bool>, Entry> faces_;
};

}  // namespace qv
