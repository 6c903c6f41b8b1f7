// Draws the navigation images of a converted site (the navigation bar, the page index and the
// bookmark tree) and writes them as GIF files into the folder given as the only argument.
// Names ending in 2 are the pressed or disabled looks of the image without the 2.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "IconCanvas.h"

namespace qv {
namespace {

constexpr int kBar = 20;        // navigation bar buttons, square
constexpr int kPage = 16;       // page index icons, square
constexpr int kTreeWidth = 16;  // bookmark tree cells
constexpr int kTreeHeight = 22;

// --- navigation bar -------------------------------------------------------------------

// A triangle pointing left (dir -1) or right (dir +1) around x, optionally with a bar.
void arrowHead(IconCanvas& c, int x, int dir, uint8_t color) {
  if (dir < 0) {
    c.fillTriangle(x, 10, x + 7, 3, x + 7, 17, color, kInk);
  } else {
    c.fillTriangle(x + 7, 10, x, 3, x, 17, color, kInk);
  }
}

IconCanvas first(uint8_t color) {
  IconCanvas c(kBar, kBar);
  c.fillRect(4, 3, 6, 17, color);
  c.frameRect(4, 3, 6, 17, kInk);
  arrowHead(c, 8, -1, color);
  return c;
}

IconCanvas back(uint8_t color) {
  IconCanvas c(kBar, kBar);
  arrowHead(c, 6, -1, color);
  return c;
}

IconCanvas next(uint8_t color) {
  IconCanvas c(kBar, kBar);
  arrowHead(c, 6, 1, color);
  return c;
}

IconCanvas end(uint8_t color) {
  IconCanvas c(kBar, kBar);
  arrowHead(c, 5, 1, color);
  c.fillRect(13, 3, 15, 17, color);
  c.frameRect(13, 3, 15, 17, kInk);
  return c;
}

// The disabled look: every coloured part grey.
IconCanvas disabled(IconCanvas c) {
  c.recolor(kBlue, kDisabled);
  c.recolor(kInk, kShadow);
  return c;
}

// A green arrow with a shaft for the history buttons.
IconCanvas history(int dir) {
  IconCanvas c(kBar, kBar);
  if (dir < 0) {
    c.fillRect(9, 8, 17, 12, kGreen);
    c.frameRect(9, 8, 17, 12, kInk);
    c.fillTriangle(2, 10, 10, 3, 10, 17, kGreen, kInk);
  } else {
    c.fillRect(2, 8, 10, 12, kGreen);
    c.frameRect(2, 8, 10, 12, kInk);
    c.fillTriangle(17, 10, 9, 3, 9, 17, kGreen, kInk);
  }
  return c;
}

IconCanvas magnifier(bool plus) {
  IconCanvas c(kBar, kBar);
  c.fillCircle(8, 8, 6, kPaper);
  c.ring(8, 8, 6, kInk);
  c.line(12, 12, 17, 17, kInk);
  c.line(13, 12, 18, 17, kInk);
  c.line(12, 13, 17, 18, kInk);
  c.line(5, 8, 11, 8, kBlue);
  c.line(5, 9, 11, 9, kBlue);
  if (plus) {
    c.line(8, 5, 8, 11, kBlue);
    c.line(9, 5, 9, 11, kBlue);
  }
  return c;
}

IconCanvas printer() {
  IconCanvas c(kBar, kBar);
  c.fillRect(5, 2, 14, 9, kPaper);
  c.frameRect(5, 2, 14, 9, kInk);
  c.line(7, 5, 12, 5, kShadow);
  c.line(7, 7, 12, 7, kShadow);
  c.fillRect(2, 9, 17, 15, kDisabled);
  c.frameRect(2, 9, 17, 15, kInk);
  c.fillRect(5, 13, 14, 18, kPaper);
  c.frameRect(5, 13, 14, 18, kInk);
  c.set(15, 11, kGreen);
  return c;
}

IconCanvas fullScreen() {
  IconCanvas c(kBar, kBar);
  c.fillRect(5, 6, 14, 13, kLightBlue);
  c.frameRect(5, 6, 14, 13, kInk);
  c.fillRect(6, 7, 13, 7, kBlue);
  // Four brackets in the corners: the view grows to the whole screen.
  const int corners[4][4] = {{1, 1, 1, 1}, {18, 1, -1, 1}, {1, 18, 1, -1}, {18, 18, -1, -1}};
  for (const auto& k : corners) {
    c.line(k[0], k[1], k[0] + 3 * k[2], k[1], kBlue);
    c.line(k[0], k[1], k[0], k[1] + 3 * k[3], kBlue);
    c.line(k[0] + k[2], k[1] + k[3], k[0] + 3 * k[2], k[1] + k[3], kBlue);
    c.line(k[0] + k[2], k[1] + k[3], k[0] + k[2], k[1] + 3 * k[3], kBlue);
  }
  return c;
}

// A window with its left pane: shown (open) or collapsed (the pressed look).
IconCanvas leftPane(bool open) {
  IconCanvas c(kBar, kBar);
  c.fillRect(2, 3, 17, 16, kPaper);
  c.frameRect(2, 3, 17, 16, kInk);
  c.fillRect(3, 4, 16, 5, kBlue);
  if (open) {
    c.fillRect(3, 6, 7, 15, kLightBlue);
    c.line(8, 6, 8, 15, kInk);
    for (int y = 8; y <= 14; y += 2) {
      c.line(4, y, 6, y, kBlue);
    }
  } else {
    c.line(3, 6, 3, 15, kInk);
    c.fillTriangle(6, 10, 10, 7, 10, 13, kShadow, kClear);
  }
  for (int y = 8; y <= 14; y += 2) {
    c.line(open ? 10 : 12, y, 15, y, kDisabled);
  }
  return c;
}

// A sheet of paper with a folded corner.
void sheet(IconCanvas& c, int x0, int y0, int x1, int y1, uint8_t fill) {
  c.fillRect(x0, y0, x1, y1, fill);
  c.frameRect(x0, y0, x1, y1, kInk);
  for (int i = 0; i < 4; ++i) {
    c.line(x1 - 3 + i, y0, x1, y0 + 3 - i, kClear);
  }
  c.line(x1 - 3, y0, x1 - 3, y0 + 3, kInk);
  c.line(x1 - 3, y0 + 3, x1, y0 + 3, kInk);
  c.line(x1 - 3, y0, x1, y0 + 3, kInk);
}

IconCanvas pageIndex() {
  IconCanvas c(kBar, kBar);
  sheet(c, 4, 2, 15, 17, kPaper);
  for (int y = 6; y <= 15; y += 3) {
    c.fillRect(6, y, 7, y + 1, kBlue);
    c.line(9, y, 12, y, kShadow);
  }
  return c;
}

IconCanvas bookmark() {
  IconCanvas c(kBar, kBar);
  sheet(c, 3, 2, 14, 17, kPaper);
  c.fillRect(9, 1, 13, 11, kRed);
  c.fillTriangle(9, 11, 13, 11, 11, 8, kPaper, kClear);
  c.frameRect(9, 1, 13, 10, kInk);
  return c;
}

// --- page index -------------------------------------------------------------------------

IconCanvas page(bool current) {
  IconCanvas c(kPage, kPage);
  sheet(c, 3, 1, 12, 14, current ? kLightBlue : kPaper);
  for (int y = 6; y <= 12; y += 2) {
    c.line(5, y, 10, y, current ? kBlue : kDisabled);
  }
  return c;
}

// --- bookmark tree ----------------------------------------------------------------------

constexpr int kMidX = 7;
constexpr int kMidY = 11;

// The tree lines of a node: down to the middle (last node) or through, and right.
IconCanvas node(bool last) {
  IconCanvas c(kTreeWidth, kTreeHeight);
  c.dottedLine(kMidX, 0, kMidX, last ? kMidY : kTreeHeight - 1, kDots);
  c.dottedLine(kMidX, kMidY, kTreeWidth - 1, kMidY, kDots);
  return c;
}

// A node with the box that opens (plus) or closes (minus) its folder.
IconCanvas toggleNode(bool last, bool plus) {
  IconCanvas c = node(last);
  c.fillRect(kMidX - 4, kMidY - 4, kMidX + 4, kMidY + 4, kPaper);
  c.frameRect(kMidX - 4, kMidY - 4, kMidX + 4, kMidY + 4, kShadow);
  c.line(kMidX - 2, kMidY, kMidX + 2, kMidY, kInk);
  if (plus) {
    c.line(kMidX, kMidY - 2, kMidX, kMidY + 2, kInk);
  }
  return c;
}

IconCanvas verticalLine() {
  IconCanvas c(kTreeWidth, kTreeHeight);
  c.dottedLine(kMidX, 0, kMidX, kTreeHeight - 1, kDots);
  return c;
}

IconCanvas folder(bool open) {
  IconCanvas c(kTreeWidth, kTreeHeight);
  c.fillRect(1, 6, 6, 8, kDarkYellow);
  c.frameRect(1, 6, 6, 8, kInk);
  c.fillRect(1, 8, 14, 17, open ? kDarkYellow : kYellow);
  c.frameRect(1, 8, 14, 17, kInk);
  if (open) {
    c.fillRect(3, 9, 12, 12, kPaper);  // the papers inside
    c.frameRect(3, 9, 12, 12, kShadow);
    // The front flap, tilted open.
    c.fillTriangle(4, 12, 15, 12, 12, 17, kYellow, kClear);
    c.fillTriangle(4, 12, 1, 17, 12, 17, kYellow, kClear);
    c.line(4, 12, 15, 12, kInk);
    c.line(15, 12, 12, 17, kInk);
    c.line(4, 12, 1, 17, kInk);
    c.line(1, 17, 12, 17, kInk);
  }
  return c;
}

IconCanvas document() {
  IconCanvas c(kTreeWidth, kTreeHeight);
  sheet(c, 3, 4, 12, 17, kPaper);
  for (int y = 9; y <= 15; y += 2) {
    c.line(5, y, 10, y, kBlue);
  }
  return c;
}

struct Icon {
  const char* name;
  std::function<IconCanvas()> draw;
};

std::vector<Icon> icons() {
  return {
      {"pg_lpane1", [] { return leftPane(true); }},
      {"pg_lpane2", [] { return leftPane(false); }},
      {"pg_index", pageIndex},
      {"pg_bmark", bookmark},
      {"pg_first", [] { return first(kBlue); }},
      {"pg_first2", [] { return disabled(first(kBlue)); }},
      {"pg_back", [] { return back(kBlue); }},
      {"pg_back2", [] { return disabled(back(kBlue)); }},
      {"pg_next", [] { return next(kBlue); }},
      {"pg_next2", [] { return disabled(next(kBlue)); }},
      {"pg_end", [] { return end(kBlue); }},
      {"pg_end2", [] { return disabled(end(kBlue)); }},
      {"pg_hisback", [] { return history(-1); }},
      {"pg_hisnext", [] { return history(1); }},
      {"pg_zoomout", [] { return magnifier(false); }},
      {"pg_zoomin", [] { return magnifier(true); }},
      {"pg_print", printer},
      {"pg_fullscr", fullScreen},
      {"pg_page", [] { return page(false); }},
      {"pg_page2", [] { return page(true); }},
      {"pg_bnode", [] { return node(false); }},
      {"pg_blastnode", [] { return node(true); }},
      {"pg_bmnode", [] { return toggleNode(false, false); }},
      {"pg_bmlastnode", [] { return toggleNode(true, false); }},
      {"pg_bpnode", [] { return toggleNode(false, true); }},
      {"pg_bplastnode", [] { return toggleNode(true, true); }},
      {"pg_bvertline", verticalLine},
      {"pg_bblank", [] { return IconCanvas(kTreeWidth, kTreeHeight); }},
      {"pg_bopen", [] { return folder(true); }},
      {"pg_bclosed", [] { return folder(false); }},
      {"pg_bdoc", document},
  };
}

}  // namespace
}  // namespace qv

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  int failures = 0;
  for (const qv::Icon& icon : qv::icons()) {
    const auto file = folder / (std::string(icon.name) + ".gif");
    if (!icon.draw().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
