#pragma once

// Link areas of an extracted page: rectangles in device pixels with their target text.
// Target forms: "actionGoTo:" + page number, "actionGoToR:" or nothing + file name,
// "actionLaunch:" + file name, "actionURI:" + URI.

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct PDFLinkArea {
  int32_t xMin = 0;
  int32_t xMax = 0;
  int32_t yMin = 0;  // top edge
  int32_t yMax = 0;  // bottom edge
  std::string target;
};

// In the order the links were drawn.
using PDFLinkAreaList = std::vector<PDFLinkArea>;

}  // namespace qv
