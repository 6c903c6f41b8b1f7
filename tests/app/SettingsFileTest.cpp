#include "app/options/SettingsFile.h"

#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

// The file SaveSettings writes for the defaults: all 24 keys, in order.
const char* kDefaultFile =
    "[Output General]\n"
    "Page Range=0\n"
    "Start Page=1\n"
    "End Page=1000\n"
    "Page Zoom=0\n"
    "Open Result=0\n"
    "Hyperlinks=0\n"
    "\n"
    "[Output Html]\n"
    "Output Title=0\n"
    "Custom Title=PDF Document Title\n"
    "Keywords=\n"
    "Html Background=16777215\n"
    "Links=16711731\n"
    "Visited Links=16711884\n"
    "Active Links=255\n"
    "Frame Structure=0\n"
    "Output Mode=0\n"
    "Bookmarks Background=16777215\n"
    "Bookmark Font=0\n"
    "Bookmark Expand=0\n"
    "Navigation Align=0\n"
    "Navigation Background=16777215\n"
    "\n"
    "[Output Images]\n"
    "IgnoreImages=1\n"
    "Images Format=0\n"
    "Jpeg Quality=70\n"
    "Jpeg Gray Scale=1\n";

TEST(SettingsFileTest, MissingFileGivesDefaultsAndSaveWritesAllKeysInOrder) {
  test::ScratchDir dir;
  auto file = dir / "Settings.ini";
  ConvertOptions options;
  options.startPage = 99;
  LoadSettings(options, file);
  EXPECT_EQ(options, ConvertOptions{});
  ASSERT_TRUE(SaveSettings(options, file));
  EXPECT_EQ(test::readFile(file), kDefaultFile);
}

TEST(SettingsFileTest, RoundTripIsByteForByteAndKeepsOtherSections) {
  test::ScratchDir dir;
  auto file = dir / "Settings.ini";
  std::string text = std::string(kDefaultFile) + "\n[Tips]\nStartUp=1\nFilePos=120\n";
  // Non-default values everywhere that matters, including the key no item shows.
  auto replace = [&](const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
  };
  replace("Bookmark Expand=0", "Bookmark Expand=3");
  replace("Custom Title=PDF Document Title", "Custom Title=My \"Quoted\" title");
  replace("Keywords=", "Keywords=alpha, beta");
  replace("Jpeg Quality=70", "Jpeg Quality=-12");
  test::writeFile(file, text);

  ConvertOptions options;
  LoadSettings(options, file);
  EXPECT_EQ(options.bookmarkExpand, 3);
  EXPECT_EQ(options.customTitle, "My \"Quoted\" title");
  EXPECT_EQ(options.keywords, "alpha, beta");
  EXPECT_EQ(options.jpegQuality, -12);
  ASSERT_TRUE(SaveSettings(options, file));
  EXPECT_EQ(test::readFile(file), text);

  // Every field survives a save and a load.
  ConvertOptions changed;
  int32_t n = 1;
  for (const SettingKey& key : SettingKeys()) {
    if (key.intField) {
      changed.*key.intField = n++;
    } else {
      changed.*key.textField = std::string("  text ") + key.key;
    }
  }
  ASSERT_TRUE(SaveSettings(changed, file));
  ConvertOptions loaded;
  LoadSettings(loaded, file);
  EXPECT_EQ(loaded, changed);
}

TEST(SettingsFileTest, BadValuesGiveDefaults) {
  test::ScratchDir dir;
  auto file = dir / "Settings.ini";
  test::writeFile(file, "[output general]\nstart page=abc\nEnd Page=12\n");
  ConvertOptions options;
  LoadSettings(options, file);
  EXPECT_EQ(options.startPage, 1);
  EXPECT_EQ(options.endPage, 12);
}

TEST(SettingsFileTest, SetOptionFromText) {
  struct Case {
    const char* key;
    const char* value;
    bool ok;
  };
  const Case cases[] = {
      {"Frame Structure", "2", true}, {"frame structure", " 1 ", true},
      {"Links", "-7", true},          {"Custom Title", "any text", true},
      {"Start Page", "", false},      {"Start Page", "3x", false},
      {"Start Page", "1.5", false},   {"Start Page", "99999999999", false},
      {"No Such Key", "1", false},    {"Ignore Images", "1", false},
  };
  for (const Case& c : cases) {
    ConvertOptions options;
    auto error = SetOptionFromText(options, c.key, c.value);
    EXPECT_EQ(!error.has_value(), c.ok) << c.key << "=" << c.value;
    if (!c.ok) {
      EXPECT_EQ(options, ConvertOptions{});
    }
  }
  ConvertOptions options;
  ASSERT_FALSE(SetOptionFromText(options, "IGNOREIMAGES", "0"));
  EXPECT_EQ(options.ignoreImages, 0);
}

TEST(SettingsFileTest, LocationBesideExecutableWhenWritable) {
  test::ScratchDir dir;
  EXPECT_EQ(SettingsFilePath(dir.path(), "/cfg", "/home/u"), dir / "Settings.ini");
  std::filesystem::path readOnly = dir / "no-such-folder";  // cannot be written
  EXPECT_EQ(SettingsFilePath(readOnly, "/cfg", "/home/u"), "/cfg/quorvane/Settings.ini");
  EXPECT_EQ(SettingsFilePath(readOnly, "relative", "/home/u"),
            "/home/u/.config/quorvane/Settings.ini");
  EXPECT_EQ(SettingsFilePath(readOnly, nullptr, "/home/u"),
            "/home/u/.config/quorvane/Settings.ini");
}

}  // namespace
}  // namespace qv
