// Fuzz target for the decoder cores. The first byte picks the decoder (low 3 bits) and
// whether a row predictor follows; with a predictor the next four bytes give Predictor,
// Columns, Colors and BitsPerComponent. The rest is the encoded data.

#include <cstddef>
#include <cstdint>
#include <span>

#include "pdf/filters/DecodeBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) {
    return 0;
  }
  static const qv::DecoderKind kKinds[] = {qv::DecoderKind::kFlate, qv::DecoderKind::kLzw,
                                           qv::DecoderKind::kAsciiHex, qv::DecoderKind::kAscii85,
                                           qv::DecoderKind::kRunLength};
  qv::DecodeOptions options;
  options.outputLimit = 8 << 20;  // keeps each run short; the limit itself is tested
  uint8_t selector = data[0];
  qv::DecoderKind kind = kKinds[(selector & 7) % 5];
  options.earlyChange = (selector >> 3) & 1;
  size_t at = 1;
  if ((selector & 0x10) && size >= 5) {
    static const int kBits[] = {1, 2, 4, 8, 16};
    options.predictor.predictor = data[1] % 2 == 0 ? 2 : 10 + data[1] % 6;
    options.predictor.columns = 1 + data[2];
    options.predictor.colors = 1 + data[3] % 8;
    options.predictor.bitsPerComponent = kBits[data[4] % 5];
    at = 5;
  }
  qv::DecodeResult result =
      qv::decodeBytes(kind, std::span<const uint8_t>(data + at, size - at), options);
  if (result.bytes.size() > options.outputLimit) {
    __builtin_trap();  // the output limit did not hold
  }
  return 0;
}
