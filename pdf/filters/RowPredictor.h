#pragma once

// Undoes the row predictors of LZW and Flate data (PDF 1.7, 7.4.4.4): TIFF predictor 2
// (components of 1, 2, 4, 8 or 16 bits) and the PNG predictors 10-15, where each row's
// tag byte picks None, Sub, Up, Average or Paeth (PNG, 6.3 and 9.2) whatever value the
// dictionary gives. Other predictor values deliver the rows unchanged. Reads the
// undecoded bytes from a borrowed decoder (the LZW or Flate core) and delivers whole
// rows; a row cut short by the end of the data keeps the previous row's bytes where data
// is missing, and a row with no data at all is not delivered.

#include <cstdint>
#include <memory>
#include <vector>

#include "pdf/filters/ByteDecoder.h"

namespace qv {

struct PredictorParams {
  int predictor = 1;
  int columns = 1;
  int colors = 1;
  int bitsPerComponent = 8;

  // True when the parameters name a predictor at all (Predictor other than 1).
  bool active() const { return predictor != 1; }
  // True when the row geometry is usable: Colors 1..kMaxPredictorColors,
  // BitsPerComponent 1, 2, 4, 8 or 16, Columns >= 1 and a row of at most
  // kMaxPredictorRowBytes bytes.
  bool valid() const;
};

class RowPredictor final : public ByteDecoder {
 public:
  // params must be valid().
  RowPredictor(ByteDecoder& source, const PredictorParams& params);

 protected:
  size_t produce(uint8_t* out, size_t max) override;
  void restart() override;

 private:
  // PNG predictors (10-15) carry a tag byte per row.
  bool png() const { return params_.predictor >= 10 && params_.predictor <= 15; }
  bool buildRow();
  void undoPng(int type, size_t end);
  void undoTiff();

  ByteDecoder& source_;
  PredictorParams params_;
  size_t pixBytes_;
  size_t rowBytes_;
  std::vector<uint8_t> row_;       // the current row, after pixBytes_ zero bytes
  std::vector<uint8_t> previous_;  // the row before it, laid out the same way
  size_t index_;
  bool ended_ = false;
  bool endAfterRow_ = false;
};

}  // namespace qv
