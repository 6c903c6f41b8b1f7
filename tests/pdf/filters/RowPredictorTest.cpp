#include "pdf/filters/RowPredictor.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "FilterTestUtil.h"

namespace qv::test {
namespace {

struct Geometry {
  int colors;
  int bits;
  int columns;
};

size_t rowBytesOf(const Geometry& g) {
  return (static_cast<size_t>(g.columns) * g.colors * g.bits + 7) / 8;
}
size_t pixBytesOf(const Geometry& g) {
  return (static_cast<size_t>(g.colors) * g.bits + 7) / 8;
}

// PNG filtering of one row (PNG, 9.2), the inverse of what the decoder undoes.
Bytes pngFilterRow(int type, const Bytes& row, const Bytes& up, size_t bpp) {
  Bytes out(row.size());
  for (size_t i = 0; i < row.size(); ++i) {
    int a = i >= bpp ? row[i - bpp] : 0;
    int b = up[i];
    int c = i >= bpp ? up[i - bpp] : 0;
    int predicted = 0;
    switch (type) {
      case 1:
        predicted = a;
        break;
      case 2:
        predicted = b;
        break;
      case 3:
        predicted = (a + b) / 2;
        break;
      case 4: {
        int p = a + b - c;
        int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        break;
      }
      default:
        break;
    }
    out[i] = static_cast<uint8_t>(row[i] - predicted);
  }
  return out;
}

// TIFF predictor 2 differencing of one row, component by component.
Bytes tiffDifferenceRow(const Bytes& row, const Geometry& g) {
  Bytes out = row;
  size_t values = static_cast<size_t>(g.columns) * g.colors;
  auto get = [&](const Bytes& b, size_t v) -> uint32_t {
    if (g.bits == 16)
      return (b[2 * v] << 8) | b[2 * v + 1];
    size_t bit = v * g.bits;
    return (b[bit / 8] >> (8 - g.bits - bit % 8)) & ((1u << g.bits) - 1);
  };
  auto put = [&](Bytes& b, size_t v, uint32_t value) {
    if (g.bits == 16) {
      b[2 * v] = static_cast<uint8_t>(value >> 8);
      b[2 * v + 1] = static_cast<uint8_t>(value);
      return;
    }
    size_t bit = v * g.bits;
    int shift = 8 - g.bits - static_cast<int>(bit % 8);
    uint32_t mask = (1u << g.bits) - 1;
    b[bit / 8] = static_cast<uint8_t>((b[bit / 8] & ~(mask << shift)) | ((value & mask) << shift));
  };
  for (size_t v = values; v-- > static_cast<size_t>(g.colors);) {
    put(out, v, get(row, v) - get(row, v - g.colors));
  }
  return out;
}

Bytes randomRows(const Geometry& g, int rows, uint32_t seed) {
  Bytes data = sampleData(rowBytesOf(g) * rows, seed % 2 == 0 ? 0 : 2, seed);
  return data;
}

DecodeResult decodePredicted(const Bytes& encoded, int predictor, const Geometry& g) {
  DecodeOptions options;
  options.predictor = {predictor, g.columns, g.colors, g.bits};
  return decodeBytes(DecoderKind::kFlate, zlibCompress(encoded), options);
}

class Predictors : public ::testing::TestWithParam<Geometry> {};

// Rows filtered with every PNG type in turn (the dictionary says 12, the tags decide).
TEST_P(Predictors, PngTagsPerRow) {
  Geometry g = GetParam();
  const int kRows = 10;
  Bytes image = randomRows(g, kRows, static_cast<uint32_t>(g.columns * 31 + g.bits));
  size_t rb = rowBytesOf(g);
  Bytes encoded;
  Bytes up(rb, 0);
  for (int r = 0; r < kRows; ++r) {
    Bytes row(image.begin() + r * rb, image.begin() + (r + 1) * rb);
    int type = r % 5;
    encoded.push_back(static_cast<uint8_t>(type));
    Bytes f = pngFilterRow(type, row, up, pixBytesOf(g));
    encoded.insert(encoded.end(), f.begin(), f.end());
    up = row;
  }
  DecodeResult r = decodePredicted(encoded, 12, g);
  EXPECT_TRUE(r.bytes == image);
}

TEST_P(Predictors, Tiff) {
  Geometry g = GetParam();
  const int kRows = 4;
  Bytes image = randomRows(g, kRows, static_cast<uint32_t>(g.columns * 17 + g.colors));
  size_t rb = rowBytesOf(g);
  Bytes encoded;
  for (int r = 0; r < kRows; ++r) {
    Bytes row(image.begin() + r * rb, image.begin() + (r + 1) * rb);
    Bytes d = tiffDifferenceRow(row, g);
    encoded.insert(encoded.end(), d.begin(), d.end());
  }
  DecodeResult r = decodePredicted(encoded, 2, g);
  EXPECT_TRUE(r.bytes == image);
}

INSTANTIATE_TEST_SUITE_P(Geometries, Predictors,
                         ::testing::Values(Geometry{1, 8, 5}, Geometry{3, 8, 7}, Geometry{4, 8, 3},
                                           Geometry{1, 1, 13}, Geometry{1, 2, 11},
                                           Geometry{2, 4, 9}, Geometry{3, 16, 6},
                                           Geometry{5, 4, 4}),
                         [](const auto& info) {
                           const Geometry& g = info.param;
                           return "c" + std::to_string(g.colors) + "b" + std::to_string(g.bits) +
                                  "w" + std::to_string(g.columns);
                         });

// A row cut short keeps the previous row's bytes where data is missing and is the last;
// data ending exactly at a row boundary adds no row.
TEST(RowPredictor, ShortAndExactEnds) {
  Geometry g{1, 8, 4};
  Bytes png = {2, 1, 2, 3, 4, 0, 9, 9, 9, 9, 0, 7};  // Up, None, then one byte of a row
  DecodeResult r = decodePredicted(png, 15, g);
  EXPECT_EQ(r.bytes, (Bytes{1, 2, 3, 4, 9, 9, 9, 9, 7, 9, 9, 9}));

  Bytes tiff = {1, 1, 1, 1, 5, 0, 0, 0};
  r = decodePredicted(tiff, 2, g);
  EXPECT_EQ(r.bytes, (Bytes{1, 2, 3, 4, 5, 5, 5, 5}));

  Bytes tagOnly = {0, 1, 2, 3, 4, 1};  // a tag byte and then the end of the data
  r = decodePredicted(tagOnly, 10, g);
  EXPECT_EQ(r.bytes, (Bytes{1, 2, 3, 4}));
}

// Predictor values that name no algorithm pass the rows through unchanged.
TEST(RowPredictor, OtherValuesPassRowsThrough) {
  Geometry g{1, 8, 3};
  Bytes data = {1, 2, 3, 4, 5, 6};
  for (int predictor : {0, 3, 9, 16, -4}) {
    EXPECT_EQ(decodePredicted(data, predictor, g).bytes, data) << predictor;
  }
}

TEST(PredictorParams, Validity) {
  struct Row {
    PredictorParams p;
    bool valid;
  };
  const Row rows[] = {
      {{12, 1, 1, 8}, true},
      {{12, 100000, 32, 16}, true},
      {{12, 0, 1, 8}, false},
      {{12, 1, 0, 8}, false},
      {{12, 1, 33, 8}, false},
      {{12, 1, 1, 3}, false},
      {{12, 2000000000, 32, 16}, false},  // a row far beyond kMaxPredictorRowBytes
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.p.valid(), row.valid)
        << row.p.columns << " " << row.p.colors << " " << row.p.bitsPerComponent;
  }
}

}  // namespace
}  // namespace qv::test
