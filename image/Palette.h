#pragma once

// Fixed palettes and colour helpers shared by the grey conversion, the 256-colour reduction
// and the encoders.

#include <array>
#include <cstdint>
#include <span>

#include "image/CImageBuffer.h"

namespace qv {

// The 256-entry palette of reduceTo8Bit: the 20 static colours of the classic system palette
// at 0-9 and 246-255, colour ramps in between.
const std::array<PaletteEntry, 256>& standardPalette();

// Entry i = (i, i, i).
const std::array<PaletteEntry, 256>& greyPalette();

// Grey level of a colour with the weights 306, 601, 117 (out of 1024).
inline uint8_t greyLevel(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>((306u * red + 601u * green + 117u * blue) >> 10);
}

// Index of the entry nearest to (red, green, blue) by squared distance; the first of equal
// distances wins. An empty palette answers 0.
uint8_t nearestPaletteIndex(std::span<const PaletteEntry> palette, uint8_t red, uint8_t green,
                            uint8_t blue);

}  // namespace qv
