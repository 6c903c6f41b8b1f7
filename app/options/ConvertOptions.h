#pragma once

// Every choice that shapes a conversion. Held by the application object for the life of the
// process, loaded from and saved to the settings file; copied into a conversion job at its
// start. Colours are 0x00BBGGRR (red in the low byte). Choice fields hold the zero-based
// position of the choice in the option tree's list.

#include <cstdint>
#include <string>

namespace qv {

inline constexpr int32_t kColorWhite = 0x00FFFFFF;

struct ConvertOptions {
  int32_t pageRange = 0;  // 0 all pages, 1 startPage..endPage
  int32_t startPage = 1;
  int32_t endPage = 1000;
  int32_t pageZoom = 0;    // 0..10 for "1.0".."2.0"
  int32_t openResult = 0;  // 0 "Yes", 1 "No"
  int32_t hyperlinks = 0;  // 0 "Enable", 1 "Unable"
  int32_t outputTitle = 0;  // 0 the PDF file's own name, 1 customTitle
  std::string customTitle = "PDF Document Title";
  std::string keywords;  // empty: no keywords meta tag
  int32_t htmlBackground = kColorWhite;
  int32_t linksColor = 0x00FF0033;         // red 0x33, green 0x00, blue 0xFF
  int32_t visitedLinksColor = 0x00FF00CC;  // red 0xCC, green 0x00, blue 0xFF
  int32_t activeLinksColor = 0x000000FF;   // red 0xFF
  int32_t frameStructure = 0;  // 0 page index, 1 bookmarks, 2 page contents only
  int32_t outputMode = 0;      // with frameStructure 2: 0 single document, 1 one per page
  int32_t bookmarksBackground = kColorWhite;
  int32_t bookmarkFont = 0;    // 0..4
  int32_t bookmarkExpand = 0;  // kept in the settings file only
  int32_t navigationAlign = 0;  // 0 left, 1 right, 2 center
  int32_t navigationBackground = kColorWhite;
  int32_t ignoreImages = 1;   // 0 "True": no page image; 1 "False": page images
  int32_t imagesFormat = 0;   // 0 png, 1 jpg, 2 bmp, 3 gif
  int32_t jpegQuality = 70;   // percent
  int32_t jpegGrayScale = 1;  // 0 "True": grey JPEG; 1 "False": colour JPEG

  bool operator==(const ConvertOptions&) const = default;
};

}  // namespace qv
