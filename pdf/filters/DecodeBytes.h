#pragma once

// Bytes in, bytes out: runs one decoder core (with its row predictor when the parameters
// name one) over a block of memory. Used by tests, fuzzers and benchmarks, and by any code
// that holds encoded data in memory rather than in a stream.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pdf/filters/FilterLimits.h"
#include "pdf/filters/RowPredictor.h"

namespace qv {

enum class DecoderKind { kAsciiHex, kAscii85, kLzw, kRunLength, kFlate };

struct DecodeOptions {
  PredictorParams predictor;  // read by LZW and Flate only
  int earlyChange = 1;        // LZW only
  uint64_t outputLimit = kMaxDecodedStreamBytes;
};

struct DecodeResult {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;  // the reports, in order
};

DecodeResult decodeBytes(DecoderKind kind, std::span<const uint8_t> input,
                         const DecodeOptions& options = {});

}  // namespace qv
