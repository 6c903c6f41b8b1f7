// Inflating real Flate data: the engine's own inflater beside zlib, on the same streams.
// The streams are the zlib streams found in the PDF corpus (content streams, fonts, images),
// repeated until they decode to about 100 MB. Throughput is counted in decoded bytes.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "pdf/filters/Inflater.h"
#include "pdf/filters/SpanByteSource.h"
#include "tests/support/TestPaths.h"

namespace {

struct FlateSet {
  std::vector<std::vector<uint8_t>> streams;
  size_t decodedBytes = 0;
};

// Decoded size of a zlib stream at the start of data, or 0 when it is not one that zlib
// decodes to its end; *used is the compressed length.
size_t zlibDecodedSize(const uint8_t* data, size_t size, size_t* used) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) {
    return 0;
  }
  static uint8_t sink[1 << 16];
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = sink;
    z.avail_out = sizeof sink;
    rc = inflate(&z, Z_NO_FLUSH);
  }
  size_t out = rc == Z_STREAM_END ? z.total_out : 0;
  *used = z.total_in;
  inflateEnd(&z);
  return out;
}

const FlateSet& corpusSet() {
  static FlateSet set = [] {
    FlateSet found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(qv::test::corpusDir())) {
      if (entry.path().extension() != ".pdf") {
        continue;
      }
      std::string file = qv::test::readFile(entry.path());
      const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
      for (size_t at = file.find("stream"); at != std::string::npos;
           at = file.find("stream", at + 6)) {
        size_t start = at + 6;
        if (start < file.size() && file[start] == '\r') {
          ++start;
        }
        if (start >= file.size() || file[start] != '\n') {
          continue;
        }
        ++start;
        size_t used = 0;
        size_t decoded = zlibDecodedSize(bytes + start, file.size() - start, &used);
        if (decoded > 0) {
          found.streams.emplace_back(bytes + start, bytes + start + used);
          found.decodedBytes += decoded;
        }
      }
    }
    FlateSet repeated;
    while (!found.streams.empty() && repeated.decodedBytes < (size_t{100} << 20)) {
      repeated.streams.insert(repeated.streams.end(), found.streams.begin(), found.streams.end());
      repeated.decodedBytes += found.decodedBytes;
    }
    return repeated;
  }();
  return set;
}

void BM_InflateOurs(benchmark::State& state) {
  const FlateSet& set = corpusSet();
  std::vector<uint8_t> out(1 << 16);
  for (auto _ : state) {
    size_t total = 0;
    for (const auto& stream : set.streams) {
      qv::SpanByteSource source(stream);
      qv::Inflater inflater(source);
      while (size_t n = inflater.read(out.data(), out.size())) {
        total += n;
      }
    }
    benchmark::DoNotOptimize(total);
    if (total != set.decodedBytes) {
      state.SkipWithError("decoded size differs from zlib's");
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * set.decodedBytes));
  state.counters["streams"] = static_cast<double>(set.streams.size());
}

void BM_InflateZlib(benchmark::State& state) {
  const FlateSet& set = corpusSet();
  std::vector<uint8_t> out(1 << 16);
  for (auto _ : state) {
    size_t total = 0;
    for (const auto& stream : set.streams) {
      z_stream z{};
      inflateInit(&z);
      z.next_in = const_cast<Bytef*>(stream.data());
      z.avail_in = static_cast<uInt>(stream.size());
      int rc = Z_OK;
      while (rc == Z_OK) {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
      }
      total += z.total_out;
      inflateEnd(&z);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * set.decodedBytes));
}

BENCHMARK(BM_InflateOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InflateZlib)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
