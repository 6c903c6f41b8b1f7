#include "html/PageWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <tuple>

#include "extract/PageImage.h"
#include "html/HtmlText.h"
#include "html/SiteFile.h"

namespace qv {

namespace {

// A glyph's text is converted to at most this many bytes.
constexpr size_t kMaxGlyphBytes = 15;
// Glyphs join one run when the next starts at most this many pixels to the right.
constexpr int64_t kMaxJoinDistance = 50;

constexpr std::string_view kErrorScript =
    "<script language=\"javascript\"> \n<!-- hide \nfunction killerrors() { \nreturn true; \n} "
    "\nwindow.onerror = killerrors; \n// --> \n</script>\n";

constexpr std::string_view kStyleStart = "<style type=\"text/css\">\n<!--\n";

constexpr std::string_view kScrollScript =
    "\n<script language=\"JavaScript\">\nvar currentpos, timer; \nfunction initialize() \n{ "
    "\ntimer=setInterval(\"scrollwindow()\",10);\n} \nfunction sc(){\nclearInterval(timer); "
    "\n}\nfunction scrollwindow() \n{ \ncurrentpos=document.body.scrollTop; "
    "\nwindow.scroll(0,++currentpos); \nif (currentpos != document.body.scrollTop) \nsc();\n} "
    "\ndocument.onmousedown=sc\ndocument.ondblclick=initialize\n</script>\n";

constexpr std::string_view kZoomScript =
    "<script language=\"javascript\">\nvar currentZoom = parent.ltop.currentZoom;\nif(currentZoom "
    "!= undefined)\ndocument.body.style.zoom=currentZoom/100;\n</script>\n";

constexpr std::string_view kRunEnd = "</span></nobr></div>\n";

bool isSingleDocumentMode(const ConvertOptions& options) {
  return options.frameStructure == 2 && options.outputMode == 0;
}

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  int length = std::snprintf(nullptr, 0, pattern, args...);
  std::string out(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(out.data(), out.size() + 1, pattern, args...);
  return out;
}

PageTextStyle styleOf(const PDFTextItem& item) {
  return {item.size, item.fontName, item.color, item.bold, item.italic};
}

struct StyleLess {
  bool operator()(const PageTextStyle& a, const PageTextStyle& b) const {
    return std::tie(a.size, a.fontName, a.color, a.bold, a.italic) <
           std::tie(b.size, b.fontName, b.color, b.bold, b.italic);
  }
};

// The last glyph written, for the duplicate rule and the space rule.
struct LastGlyph {
  int32_t x = 0;
  int32_t y = 0;
  std::u16string text;
  int32_t advance = 0;
  int32_t size = 0;
};

void writeGlyph(std::string& out, const PDFTextItem& glyph, LastGlyph& last) {
  // A glyph drawn twice at the same place (simulated bold) is written once.
  if (glyph.x == last.x && glyph.y == last.y && glyph.text == last.text) {
    return;
  }
  const int64_t gap = int64_t{glyph.x} - last.x - last.advance;
  const bool space = last.size != 0 && static_cast<double>(gap) > 0.15 * last.size;
  last = {glyph.x, glyph.y, glyph.text, glyph.advance, glyph.size};
  if (space) {
    out += ' ';
  }
  out += EscapeHtmlText(Utf16ToUtf8(glyph.text, kMaxGlyphBytes));
}

bool joins(const PDFTextItem& current, const PDFTextItem& next) {
  if (next.orientation != 0) {
    return false;
  }
  const int64_t dx = int64_t{next.x} - current.x;
  const int64_t top = int64_t{next.y} - next.size - (int64_t{current.y} - current.size);
  return dx > 0 && dx <= kMaxJoinDistance && next.size == current.size &&
         next.fontName == current.fontName && next.color == current.color &&
         std::llabs(top) < current.size;
}

// Reads the page number of a GoTo target as a decimal number; text that does not parse
// gives 0, a number out of range is clamped.
int64_t parsePageNumber(const std::string& text) {
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  return std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
}

std::string linkAddress(const std::string& target, int firstPage, const std::string& extension) {
  constexpr std::string_view kGoTo = "actionGoTo:";
  constexpr std::string_view kUri = "actionURI:";
  if (target.starts_with(kGoTo)) {
    const int64_t page = parsePageNumber(target.substr(kGoTo.size())) - firstPage + 1;
    return format("pg_%04lld", static_cast<long long>(page)) + extension;
  }
  if (target.starts_with(kUri)) {
    return target.substr(kUri.size());
  }
  return target;
}

int32_t saturatingAdd(int32_t a, int64_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(
      int64_t{a} + b, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

bool WritePageFile(PageWriterState& state, const ConvertOptions& options, PDFPageRecord& record,
                   const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                   const std::filesystem::path& imagePath, int firstPage) {
  state.singleDocument = isSingleDocumentMode(options);
  if (!state.singleDocument) {
    state.styleClasses.clear();
  }

  // Everything but the text lives on in the page image only.
  std::erase_if(record.items,
                [](const PDFPageItem& item) { return item.as<PDFTextItem>() == nullptr; });
  std::vector<const PDFTextItem*> glyphs;
  glyphs.reserve(record.items.size());
  for (const PDFPageItem& item : record.items) {
    glyphs.push_back(item.as<PDFTextItem>());
  }

  std::map<PageTextStyle, int, StyleLess> classNumbers;
  for (size_t k = 0; k < state.styleClasses.size(); ++k) {
    classNumbers.emplace(state.styleClasses[k], static_cast<int>(k));
  }
  for (const PDFTextItem* glyph : glyphs) {
    if (glyph->orientation != 0) {
      continue;
    }
    PageTextStyle style = styleOf(*glyph);
    if (classNumbers.emplace(style, static_cast<int>(state.styleClasses.size())).second) {
      state.styleClasses.push_back(std::move(style));
    }
  }

  const int64_t top = state.singleDocumentTop;
  std::string out = "<html>\n<head>";
  out += kCharsetMeta;
  out += "\n<title>";
  out += EscapeHtmlText(ToValidUtf8(pageFile.stem().string()));
  out += "</title>\n";
  if (!options.keywords.empty()) {
    out += KeywordMetaText(options);
  }
  out += kErrorScript;
  out += kStyleStart;
  for (size_t k = 0; k < state.styleClasses.size(); ++k) {
    const PageTextStyle& style = state.styleClasses[k];
    out += format(".ft%d{font-style:%s;font-weight:%s;font-size:%dpx;font-family:%s;color:#%s;}\n",
                  static_cast<int>(k), style.italic != 0 ? "italic" : "normal",
                  style.bold != 0 ? "bold" : "normal", style.size,
                  CssFontFamily(ToValidUtf8(style.fontName)).c_str(),
                  HexColorLower(static_cast<int32_t>(style.color)).c_str());
  }
  out += LinkStyleText(options, true);
  out += "-->\n</style>\n</head>\n<body vlink=\"#FFFFFF\" link=\"#FFFFFF\" bgcolor=\"#" +
         HexColorLower(options.htmlBackground) + "\">\n";
  out += kScrollScript;

  // Without a painted image there is nothing to show and nothing to click on.
  if (options.ignoreImages == 1 && !imagePath.empty()) {
    const std::string imageName = EscapeHtmlAttribute(ToValidUtf8(imagePath.filename().string()));
    if (links == nullptr || links->empty() || state.singleDocument) {
      out += format(
          "<div style=\"position:absolute;top:%lld;left:0\"><img width=\"%d\" "
          "height=\"%d\" src=\"%s\"></div>\n",
          static_cast<long long>(top), record.width, record.height, imageName.c_str());
    } else {
      out += format("<div style=\"position:absolute;top:%lld;left:0\"><map name=\"FPMap0\">\n",
                    static_cast<long long>(top));
      const std::string extension = pageFile.extension().string();
      for (const PDFLinkArea& area : *links) {
        const std::string address = ToValidUtf8(linkAddress(area.target, firstPage, extension));
        if (!IsSafeLinkTarget(address)) {
          continue;
        }
        out += format("<area href=\"%s\" shape=\"rect\" coords=\"%d,%lld,%d,%lld\">\n",
                      EscapeHtmlAttribute(address).c_str(), area.xMin,
                      static_cast<long long>(area.yMin + top), area.xMax,
                      static_cast<long long>(area.yMax + top));
      }
      out += "</map>\n";
      out += format("<img width=\"%d\" height=\"%d\" src=\"%s\" usemap=\"#FPMap0\"></div>\n",
                    record.width, record.height, imageName.c_str());
    }
  }

  LastGlyph last;
  size_t i = 0;
  while (i < glyphs.size()) {
    const PDFTextItem* glyph = glyphs[i];
    if (glyph->orientation != 0) {
      ++i;
      continue;
    }
    const int k = classNumbers.at(styleOf(*glyph));
    out += format("<div style=\"position:absolute;top:%lld;left:%d\"><nobr><span class=\"ft%d\">",
                  static_cast<long long>(int64_t{glyph->y} - glyph->size + top + 2), glyph->x, k);
    writeGlyph(out, *glyph, last);
    size_t current = i;
    while (current + 1 < glyphs.size() && joins(*glyphs[current], *glyphs[current + 1])) {
      ++current;
      writeGlyph(out, *glyphs[current], last);
    }
    out += kRunEnd;
    i = current + 1;
  }

  if (!state.singleDocument) {
    out += kZoomScript;
  }
  out += "</body>\n</html>";

  const std::filesystem::path target =
      state.singleDocument ? pageFile.parent_path() / "index.htm" : pageFile;
  const bool written =
      state.singleDocument ? AppendSiteFile(target, out) : WriteSiteFile(target, out);
  if (!written && state.showMessage) {
    state.showMessage("Create file error [" + target.string() + "]!");
  }
  return written;
}

int WritePageHtml(PageWriterState& state, const ConvertOptions& options, PDFPageRecord& record,
                  const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                  int firstPage) {
  if (pageFile.empty()) {
    return -1;
  }
  if (record.pageNumber == firstPage) {
    state.styleClasses.clear();
    state.singleDocumentTop = 0;
  }
  std::filesystem::path imagePath;
  if (options.ignoreImages == 1) {
    PageImageOptions imageOptions;
    imageOptions.background = options.htmlBackground;
    imageOptions.imagesFormat = options.imagesFormat;
    imageOptions.jpegQuality = options.jpegQuality;
    imageOptions.jpegGrayScale = options.jpegGrayScale;
    imagePath = MakePageImage(record, pageFile, imageOptions);
  }
  WritePageFile(state, options, record, links, pageFile, imagePath, firstPage);
  if (isSingleDocumentMode(options)) {
    state.singleDocument = true;
    state.singleDocumentTop = saturatingAdd(state.singleDocumentTop, int64_t{record.height} + 10);
  } else {
    state.singleDocument = false;
  }
  return 1;
}

}  // namespace qv
