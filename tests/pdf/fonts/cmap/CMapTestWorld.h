#pragma once

// A configuration for the character-map tests: scratch folders, with the CMap fixtures as
// the CMap folder of the collection "Test-Collection" and as the ToUnicode folder, plus the
// fixture cidToUnicode and unicodeMap files.

#include <string>

#include "pdf/config/CPDFConfig.h"
#include "tests/support/TestPaths.h"

namespace qv::test {

class CMapTestWorld {
 public:
  explicit CMapTestWorld(const std::string& extraConfig = "") {
    std::filesystem::path fixtures = fixturesDir() / "pdf" / "cmaps";
    writeFile(scratch_ / "config.lst",
              "cMapDir Test-Collection " + fixtures.string() + "\n" + "toUnicodeDir " +
                  (scratch_ / "tounicode").string() + "\n" + "cidToUnicode Test-Collection " +
                  (fixtures / "Test.cidToUnicode").string() + "\n" + "unicodeMap Test " +
                  (fixtures / "Test.unicodeMap").string() + "\n" + extraConfig);
    std::filesystem::create_directories(scratch_ / "tounicode");
    config_ = std::make_unique<CPDFConfig>(
        "config.lst", CPDFConfigLocations{scratch_.path(), scratch_ / "bin", scratch_ / "tmp",
                                          scratch_ / "home"});
  }

  CPDFConfig& config() { return *config_; }
  const ScratchDir& scratch() const { return scratch_; }

 private:
  ScratchDir scratch_{"qv-cmaps"};
  std::unique_ptr<CPDFConfig> config_;
};

}  // namespace qv::test
