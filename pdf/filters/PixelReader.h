#pragma once

// Reads image samples pixel by pixel from a decoded image stream: width pixels per line,
// nComps components of nBits bits each, lines starting at a byte boundary. Borrows the
// stream (the caller keeps it alive and brackets reading with reset and close); one
// thread at a time.
//
// Components are delivered as bytes. 16-bit components are delivered as their high byte,
// so every value fits the 0..255 range of 8-bit data. Missing data at the end of the
// stream reads as 0. The line buffer is bounded: geometry that is not usable (see ok())
// delivers no pixels.

#include <cstdint>
#include <vector>

#include "pdf/core/CPDFStream.h"

namespace qv {

class PixelReader {
 public:
  PixelReader(CPDFStream& stream, int width, int nComps, int nBits);

  // False when the geometry is unusable: width < 1, nComps outside 1..kMaxPredictorColors,
  // nBits not 1, 2, 4, 8 or 16, or a line of more than kMaxPredictorRowBytes bytes.
  bool ok() const { return ok_; }

  // Resets the stream and starts at its first line.
  void reset();

  // Fills out[0..nComps) with the next pixel's components; false only when !ok().
  bool getPixel(uint8_t* out);

 private:
  void readLine();

  CPDFStream& stream_;
  int width_;
  int nComps_;
  int nBits_;
  size_t nVals_ = 0;
  bool ok_ = false;
  std::vector<uint8_t> line_;
  size_t index_ = 0;
};

}  // namespace qv
