#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

const char* kSample =
    "; settings\n"
    "[Output General]\n"
    "Page Range=1\n"
    "  Start Page  =  7  \n"
    "Empty=\n"
    "Word=abc\n"
    "Lead=12abc\n"
    "Huge=99999999999\n"
    "Neg=-5\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "[tips]\n"
    "StartUp=0\n";

struct IntCase {
  const char* section;
  const char* key;
  int32_t expected;
};

TEST(IniFileTest, ReadsIntegersWithDefaults) {
  IniFile ini = IniFile::parse(kSample);
  const IntCase cases[] = {
      {"Output General", "Page Range", 1},
      {"output general", "START PAGE", 7},  // names compare case-insensitively
      {"Output General", "Missing", -42},   // missing key
      {"Nowhere", "Page Range", -42},       // missing section
      {"Output General", "Empty", -42},     // empty value
      {"Output General", "Word", -42},      // not a number
      {"Output General", "Lead", 12},       // leading number, trailing text ignored
      {"Output General", "Huge", -42},      // out of 32-bit range
      {"Output General", "Neg", -5},
      {"Tips", "startup", 0},
  };
  for (const IntCase& c : cases) {
    EXPECT_EQ(ini.readInt(c.section, c.key, -42), c.expected) << c.section << "/" << c.key;
  }
}

TEST(IniFileTest, ReadsStrings) {
  IniFile ini = IniFile::parse(kSample);
  EXPECT_EQ(ini.readString("Output General", "Word", "d"), "abc");
  EXPECT_EQ(ini.readString("Output General", "Empty", "d"), "");
  EXPECT_EQ(ini.readString("Output General", "Missing", "d"), "d");
  EXPECT_EQ(ini.readString("Output General", "Quoted", "d"), "  padded  ");
  EXPECT_EQ(ini.readString("Output General", "Single", "d"), "x");
  // Bounded to 1023 bytes, never splitting a UTF-8 character.
  IniFile longValue = IniFile::parse("[s]\nk=" + std::string(2000, 'a') + "\n");
  EXPECT_EQ(longValue.readString("s", "k", "").size(), IniFile::kMaxValueLength);
  IniFile utf8 = IniFile::parse("[s]\nk=" + std::string(1022, 'a') + "\xC3\xA9" + "\n");
  EXPECT_EQ(utf8.readString("s", "k", "").size(), 1022u);
}

TEST(IniFileTest, WritesKeepOtherLines) {
  IniFile ini = IniFile::parse("; head\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ini.write("a", "X", "10");            // existing key, other case: replaced in place
  ini.write("A", "z", "3");             // new key: end of its section, before the blank line
  ini.write("C", "w", "line1\nline2");  // new section; a value stays one line
  ini.write("B", "v", " spaced ");
  EXPECT_EQ(ini.text(),
            "; head\r\n[A]\r\nX=10\r\nz=3\r\n\r\n[B]\r\ny=2\r\nv=\" spaced \"\r\n\r\n"
            "[C]\r\nw=line1 line2\r\n");
  EXPECT_EQ(ini.readString("B", "v", ""), " spaced ");
  EXPECT_EQ(ini.readInt("c", "W", 5), 5);
}

TEST(IniFileTest, SavesAtomicallyAndCreatesTheFile) {
  test::ScratchDir dir;
  auto file = dir / "Settings.ini";
  IniFile ini = IniFile::load(file);  // missing: empty
  EXPECT_EQ(ini.text(), "");
  ini.write("Output General", "Page Range", "1");
  ASSERT_TRUE(ini.save(file));
  EXPECT_EQ(test::readFile(file), "[Output General]\nPage Range=1\n");
  // No temporary file is left beside it.
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  IniFile again = IniFile::load(file);
  again.write("Tips", "StartUp", "1");
  ASSERT_TRUE(again.save(file));
  EXPECT_EQ(test::readFile(file), "[Output General]\nPage Range=1\n\n[Tips]\nStartUp=1\n");
  // A folder that cannot be written: the save fails and reports it.
  EXPECT_FALSE(again.save(dir / "missing-folder" / "Settings.ini"));
}

TEST(IniFileTest, OversizedFileIsNeitherReadNorOverwritten) {
  test::ScratchDir dir;
  auto file = dir / "big.ini";
  std::string big = "[s]\nk=1\n" + std::string(IniFile::kMaxFileBytes, ';');
  test::writeFile(file, big);
  IniFile ini = IniFile::load(file);
  EXPECT_EQ(ini.readInt("s", "k", 9), 9);
  ini.write("s", "k", "2");
  EXPECT_FALSE(ini.save(file));
  EXPECT_EQ(std::filesystem::file_size(file), big.size());
}

}  // namespace
}  // namespace qv
