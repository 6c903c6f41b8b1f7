#include "pdf/filters/ByteDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::test {
namespace {

// A decoder that never ends and writes nothing: only the base's limit stops it.
class EndlessDecoder final : public ByteDecoder {
 protected:
  size_t produce(uint8_t*, size_t max) override { return max; }
  void restart() override {}
};

// Without a limit of its own a decoder delivers kMaxDecodedStreamBytes and then ends with
// one report; a reset starts the count again.
TEST(ByteDecoder, DefaultOutputLimit) {
  EndlessDecoder decoder;
  std::vector<std::string> reports;
  decoder.setErrorSink([&reports](const std::string& m) { reports.push_back(m); });
  std::vector<uint8_t> buffer(4 << 20);
  for (int round = 0; round < 2; ++round) {
    decoder.reset();
    uint64_t total = 0;
    while (size_t n = decoder.read(buffer.data(), buffer.size())) {
      total += n;
    }
    EXPECT_EQ(decoder.read(buffer.data(), 1), 0u);
    EXPECT_EQ(total, kMaxDecodedStreamBytes);
    EXPECT_EQ(reports.size(), static_cast<size_t>(round + 1));
  }
}

}  // namespace
}  // namespace qv::test
