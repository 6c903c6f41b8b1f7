// Fuzz target for the character-map parsers: the input is read as a CMap file and as a
// ToUnicode CMap of one-byte and of two-byte codes, then a few codes are decoded. usecmap
// names resolve in a small configuration written to a temporary folder once per process: a
// base CMap, a CMap that uses itself and a ToUnicode map, so merging and the depth bound are
// reached without the large shipped CMaps.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "pdf/config/CPDFConfig.h"
#include "pdf/fonts/cmap/CPDFMap.h"
#include "pdf/fonts/cmap/CPDFToUnicode.h"

namespace {

void writeFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// The configuration and its folder, removed when the process ends.
struct FuzzConfig {
  std::filesystem::path dir;
  std::unique_ptr<qv::CPDFConfig> config;
  ~FuzzConfig() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

void makeConfig(FuzzConfig& out) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qv-cmap-fuzz-" + std::to_string(getpid()));
  out.dir = dir;
  std::filesystem::create_directories(dir / "cmap");
  std::filesystem::create_directories(dir / "tounicode");
  writeFile(dir / "cmap" / "Base",
            "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
            "1 begincodespacerange <8140> <9ffc> endcodespacerange\n"
            "2 begincidrange <20> <7e> 1 <8140> <817e> 633 endcidrange\n"
            "endcmap\n");
  writeFile(dir / "cmap" / "Loop", "/Loop usecmap\n1 begincidchar <8141> 7 endcidchar\n");
  writeFile(dir / "tounicode" / "TU",
            "1 beginbfchar <0041> <0061> endbfchar\n"
            "1 beginbfrange <0100> <01ff> <4e00> endbfrange\n");
  writeFile(dir / "config.lst", "cMapDir Fuzz " + (dir / "cmap").string() + "\ntoUnicodeDir " +
                                    (dir / "tounicode").string() + "\n");
  out.config = std::make_unique<qv::CPDFConfig>(
      (dir / "config.lst").string(),
      qv::CPDFConfigLocations{dir, dir / "none", dir / "none", dir / "none"});
}

qv::CPDFConfig& config() {
  static FuzzConfig instance;
  if (!instance.config) {
    makeConfig(instance);
  }
  return *instance.config;
}

constexpr uint8_t kCodes[] = {0x00, 0x20, 0x41, 0x7e, 0x81, 0x40, 0x9f, 0xfc,
                              0xff, 0x01, 0x00, 0x80, 0x81, 0x41, 0xe0, 0x00};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qv::CPDFConfig& cfg = config();

  if (auto map = qv::CPDFMap::parse(cfg, "Fuzz", "Input", text)) {
    const uint8_t* p = kCodes;
    size_t left = sizeof(kCodes);
    while (left > 0) {
      size_t used = 0;
      map->decodeNext(p, left, used);
      if (used == 0 || used > left) {
        __builtin_trap();  // decodeNext must consume at least one byte and stay in bounds
      }
      p += used;
      left -= used;
    }
    map->writingMode();
  }
  for (int bits : {8, 16}) {
    if (auto map = qv::CPDFToUnicode::fromToUnicodeStream(text, bits, cfg)) {
      char16_t units[8];
      for (uint32_t code : {0u, 0x41u, 0xffu, 0x100u, 0x4e00u, 0xffffu, 0x10000u}) {
        map->map(code, units, 8);
      }
    }
  }
  return 0;
}
