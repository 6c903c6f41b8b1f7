#include "image/Palette.h"

namespace qv {

namespace {

constexpr PaletteEntry rgb(int red, int green, int blue) {
  return PaletteEntry{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                      static_cast<uint8_t>(red), 0};
}

// Layout of the standard palette:
//   0-9     static colours (black, the dark primaries, silver, money green, sky blue);
//   10-15   a pale yellow ramp from (255, 251, 240) to (255, 227, 145);
//   16-20   an orange ramp from (255, 170, 0) darkening by (35, 24, 0) per step;
//   21-228  the 6 x 6 x 6 colour cube with levels 0, 51, 102, 153, 204, 255 (blue fastest)
//           without its eight corners, which are static colours; it bounds the error of any
//           colour to 25 per channel;
//   229-246 greys filling the gaps of the cube's grey axis, for anti-aliased text;
//   247-255 the last static colours, ending with white.
std::array<PaletteEntry, 256> makeStandardPalette() {
  std::array<PaletteEntry, 256> p{};
  const PaletteEntry head[] = {rgb(0, 0, 0),       rgb(128, 0, 0),     rgb(0, 128, 0),
                               rgb(128, 128, 0),   rgb(0, 0, 128),     rgb(128, 0, 128),
                               rgb(0, 128, 128),   rgb(192, 192, 192), rgb(192, 220, 192),
                               rgb(166, 202, 240), rgb(255, 251, 240), rgb(255, 247, 220),
                               rgb(255, 243, 201), rgb(255, 239, 181), rgb(255, 233, 163),
                               rgb(255, 227, 145), rgb(255, 170, 0),   rgb(220, 146, 0),
                               rgb(185, 122, 0),   rgb(150, 98, 0),    rgb(115, 74, 0)};
  int i = 0;
  for (const PaletteEntry& entry : head) {
    p[i++] = entry;
  }
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        // The eight corners (black, white and the six primaries) are static colours already.
        const bool corner = (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
        if (!corner) {
          p[i++] = rgb(r * 51, g * 51, b * 51);
        }
      }
    }
  }
  for (int level : {8, 17, 25, 34, 42, 68, 76, 85, 93, 119, 136, 144, 170, 178, 187, 221, 238, 246}) {
    p[i++] = rgb(level, level, level);
  }
  const PaletteEntry tail[] = {rgb(160, 160, 164), rgb(128, 128, 128), rgb(255, 0, 0),
                               rgb(0, 255, 0),     rgb(255, 255, 0),   rgb(0, 0, 255),
                               rgb(255, 0, 255),   rgb(0, 255, 255),   rgb(255, 255, 255)};
  for (const PaletteEntry& entry : tail) {
    p[i++] = entry;
  }
  return p;
}

std::array<PaletteEntry, 256> makeGreyPalette() {
  std::array<PaletteEntry, 256> p{};
  for (int i = 0; i < 256; ++i) {
    p[i] = rgb(i, i, i);
  }
  return p;
}

}  // namespace

const std::array<PaletteEntry, 256>& standardPalette() {
  static const std::array<PaletteEntry, 256> kPalette = makeStandardPalette();
  return kPalette;
}

const std::array<PaletteEntry, 256>& greyPalette() {
  static const std::array<PaletteEntry, 256> kPalette = makeGreyPalette();
  return kPalette;
}

uint8_t nearestPaletteIndex(std::span<const PaletteEntry> palette, uint8_t red, uint8_t green,
                            uint8_t blue) {
  // Larger than the largest possible distance 3 x 255^2, so some entry always wins.
  int32_t best = 200000;
  size_t bestIndex = 0;
  for (size_t i = 0; i < palette.size() && i < 256; ++i) {
    const int32_t dr = int32_t{palette[i].red} - red;
    const int32_t dg = int32_t{palette[i].green} - green;
    const int32_t db = int32_t{palette[i].blue} - blue;
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < best) {
      best = distance;
      bestIndex = i;
      if (distance == 0) {
        break;
      }
    }
  }
  return static_cast<uint8_t>(bestIndex);
}

}  // namespace qv
