#pragma once

// Helpers shared by the filter tests: byte strings, zlib as the reference compressor, a
// Deflate bit writer for hand-made blocks and a reference LZW encoder.

#include <zlib.h>

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "pdf/filters/DecodeBytes.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(std::string_view s) {
  return Bytes(s.begin(), s.end());
}
inline std::string stringOf(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

inline DecodeResult decodeText(DecoderKind kind, std::string_view input,
                               const DecodeOptions& options = {}) {
  Bytes in = bytesOf(input);
  return decodeBytes(kind, in, options);
}

// zlib data for input at the given level, strategy and window size.
inline Bytes zlibCompress(const Bytes& input, int level = Z_DEFAULT_COMPRESSION,
                          int strategy = Z_DEFAULT_STRATEGY, int windowBits = 15) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, strategy);
  Bytes out(deflateBound(&z, input.size()) + 64);
  z.next_in = const_cast<Bytef*>(input.data());
  z.avail_in = static_cast<uInt>(input.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Writes Deflate bit fields: plain values least significant bit first, Huffman codes most
// significant bit first (RFC 1951, 3.1.1).
class BitWriter {
 public:
  void bits(uint32_t value, int n) {
    for (int i = 0; i < n; ++i) {
      put((value >> i) & 1);
    }
  }
  void code(uint32_t value, int n) {
    for (int i = n - 1; i >= 0; --i) {
      put((value >> i) & 1);
    }
  }
  // A fixed-code literal/length symbol (RFC 1951, 3.2.6).
  void fixedSymbol(int symbol) {
    if (symbol < 144) {
      code(0x30 + symbol, 8);
    } else if (symbol < 256) {
      code(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
      code(symbol - 256, 7);
    } else {
      code(0xc0 + symbol - 280, 8);
    }
  }
  Bytes finish() const { return out_; }

 private:
  void put(uint32_t bit) {
    if (used_ == 0) {
      out_.push_back(0);
    }
    out_.back() |= static_cast<uint8_t>(bit << used_);
    used_ = (used_ + 1) % 8;
  }
  Bytes out_;
  int used_ = 0;
};

// LZW as PDF writers produce it: a clear code first, a clear whenever the table fills,
// 257 at the end; code widths follow the decoder's table size and earlyChange.
inline Bytes lzwEncode(const Bytes& input, int early) {
  Bytes out;
  uint32_t buffer = 0;
  int bits = 0;
  int decoderNext = 258;
  bool decoderFirst = true;
  auto width = [&] {
    int n = decoderNext + early;
    return n >= 2048 ? 12 : n >= 1024 ? 11 : n >= 512 ? 10 : 9;
  };
  auto emit = [&](int codeValue) {
    int w = width();
    buffer = (buffer << w) | static_cast<uint32_t>(codeValue);
    bits += w;
    while (bits >= 8) {
      out.push_back(static_cast<uint8_t>(buffer >> (bits - 8)));
      bits -= 8;
    }
    if (codeValue == 256) {
      decoderNext = 258;
      decoderFirst = true;
    } else if (decoderFirst) {
      decoderFirst = false;
    } else {
      ++decoderNext;
    }
  };
  std::map<std::string, int> table;
  int next = 258;
  emit(256);
  std::string w;
  for (uint8_t c : input) {
    std::string wc = w + static_cast<char>(c);
    if (wc.size() == 1 || table.count(wc)) {
      w = wc;
      continue;
    }
    emit(w.size() == 1 ? static_cast<uint8_t>(w[0]) : table[w]);
    table[wc] = next++;
    if (next >= 4000) {
      emit(256);
      table.clear();
      next = 258;
    }
    w = std::string(1, static_cast<char>(c));
  }
  if (!w.empty()) {
    emit(w.size() == 1 ? static_cast<uint8_t>(w[0]) : table[w]);
  }
  emit(257);
  if (bits > 0) {
    out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
  }
  return out;
}

// Deterministic test data of three kinds: random bytes, text-like words with repeats, runs.
inline Bytes sampleData(size_t size, int kind, uint32_t seed) {
  Bytes out(size);
  uint32_t x = seed * 2654435761u + 1;
  auto next = [&x] {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  };
  static const char* kWords[] = {"BT ", "/F1 ", "12 ", "Tf ", "0 0 1 rg ", "(Hello) ",
                                 "Tj ", "ET\n", "q ",  "Q\n", "re f ",     "1 0 0 1 72 720 cm "};
  size_t i = 0;
  while (i < size) {
    if (kind == 0) {
      out[i++] = static_cast<uint8_t>(next());
    } else if (kind == 1) {
      const char* word = kWords[next() % 12];
      for (const char* p = word; *p && i < size; ++p) {
        out[i++] = static_cast<uint8_t>(*p);
      }
    } else {
      uint8_t value = static_cast<uint8_t>(next());
      size_t run = 1 + next() % 300;
      for (size_t k = 0; k < run && i < size; ++k) {
        out[i++] = value;
      }
    }
  }
  return out;
}

}  // namespace qv::test
