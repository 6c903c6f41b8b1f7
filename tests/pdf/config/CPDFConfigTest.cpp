#include "pdf/config/CPDFConfig.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pdf/config/CPDFConfigParser.h"
#include "pdf/core/ErrorReport.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A scratch world: a current folder, a program folder, a temporary folder and a home.
class ConfigWorld {
 public:
  ConfigWorld() {
    for (const char* dir : {"cwd", "bin/Resource/CMap", "tmp", "home"}) {
      fs::create_directories(scratch_ / dir);
    }
  }
  CPDFConfigLocations locations() const {
    return {scratch_ / "cwd", scratch_ / "bin", scratch_ / "tmp", scratch_ / "home"};
  }
  fs::path path(const std::string& relative) const { return scratch_ / relative; }
  void write(const std::string& relative, const std::string& text) const {
    fs::create_directories(path(relative).parent_path());
    test::writeFile(path(relative), text);
  }
  // A configuration read from cwd/config.lst holding `text`.
  CPDFConfig config(const std::string& text) const {
    write("cwd/config.lst", text);
    return CPDFConfig("config.lst", locations());
  }

 private:
  test::ScratchDir scratch_{"qv-config"};
};

TEST(CPDFConfigTest, CommentsAndBlankLinesKeepEveryDefault) {
  ConfigWorld world;
  ErrorLog log;
  CPDFConfig config = world.config("# a comment\n\n   \n#textEncoding UTF-8\n");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(config.textEncoding(), "Latin1");
  EXPECT_EQ(config.psPaperWidth(), 612);
  EXPECT_EQ(config.psPaperHeight(), 792);
  EXPECT_EQ(config.psLevel(), CPDFPSLevel::Level2);
  EXPECT_EQ(config.textEOL(), CPDFTextEOL::Dos);
  EXPECT_EQ(config.t1libControl(), CPDFRasterControl::Low);
  EXPECT_EQ(config.freetypeControl(), CPDFRasterControl::Low);
  EXPECT_TRUE(config.mapNumericCharNames());
  EXPECT_TRUE(config.psEmbedType1());
  EXPECT_TRUE(config.psEmbedTrueType());
  EXPECT_FALSE(config.psDuplex());
  EXPECT_FALSE(config.psOPI());
  EXPECT_FALSE(config.errQuiet());
  EXPECT_TRUE(config.fontDirs().empty());
  const CPDFDisplayFont* symbol = config.getDisplayFont("Symbol");
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(symbol->kind, CPDFDisplayFontKind::X);
  EXPECT_EQ(symbol->pattern, "-*-symbol-medium-r-normal-*-%s-*-*-*-*-*-adobe-fontspecific");
  EXPECT_EQ(symbol->encoding, "Symbol");
  EXPECT_EQ(config.getDisplayFont("Times-Roman")->encoding, "Latin1");
  EXPECT_EQ(config.getDisplayFont("Arial"), nullptr);
}

struct CommandCase {
  const char* line;
  const char* message;  // the report expected, or "" for none
  std::function<bool(const CPDFConfig&)> check;
};

TEST(CPDFConfigTest, CommandsAreValidatedAndApplied) {
  const CommandCase cases[] = {
      {"psPaperSize A4", "",
       [](auto& c) { return c.psPaperWidth() == 595 && c.psPaperHeight() == 842; }},
      {"psPaperSize A3", "",
       [](auto& c) { return c.psPaperWidth() == 842 && c.psPaperHeight() == 1190; }},
      {"psPaperSize legal", "", [](auto& c) { return c.psPaperHeight() == 1008; }},
      {"psPaperSize 500 700", "",
       [](auto& c) { return c.psPaperWidth() == 500 && c.psPaperHeight() == 700; }},
      {"psPaperSize letter 5", "Bad 'psPaperSize' config file command (CFG:1)",
       [](auto& c) { return c.psPaperWidth() == 612; }},
      {"psPaperSize a4", "Bad 'psPaperSize' config file command (CFG:1)",
       [](auto& c) { return c.psPaperWidth() == 612; }},
      {"psPaperSize 500 wide", "Bad 'psPaperSize' config file command (CFG:1)",
       [](auto& c) { return c.psPaperWidth() == 612; }},
      {"psDuplex yes", "", [](auto& c) { return c.psDuplex(); }},
      {"psDuplex Yes", "Bad 'psDuplex' config file command (CFG:1)",
       [](auto& c) { return !c.psDuplex(); }},
      {"psEmbedType1 no", "", [](auto& c) { return !c.psEmbedType1(); }},
      {"psEmbedTrueType no", "", [](auto& c) { return !c.psEmbedTrueType(); }},
      {"psOPI yes", "", [](auto& c) { return c.psOPI(); }},
      {"psOPI", "Bad 'psOPI' config file command (CFG:1)", [](auto& c) { return !c.psOPI(); }},
      {"errQuiet yes", "", [](auto& c) { return c.errQuiet(); }},
      {"mapNumericCharNames no", "", [](auto& c) { return !c.mapNumericCharNames(); }},
      {"mapNumericCharNames off", "Bad 'mapNumericCharNames' config file command (CFG:1)",
       [](auto& c) { return c.mapNumericCharNames(); }},
      {"psLevel level1sep", "", [](auto& c) { return c.psLevel() == CPDFPSLevel::Level1Sep; }},
      {"psLevel level3", "Bad 'psLevel' config file command (CFG:1)",
       [](auto& c) { return c.psLevel() == CPDFPSLevel::Level2; }},
      {"textEOL unix", "", [](auto& c) { return c.textEOL() == CPDFTextEOL::Unix; }},
      {"textEOL mac", "", [](auto& c) { return c.textEOL() == CPDFTextEOL::Mac; }},
      {"textEOL cr", "Bad 'textEOL' config file command (CFG:1)",
       [](auto& c) { return c.textEOL() == CPDFTextEOL::Dos; }},
      {"textEncoding UTF-8", "", [](auto& c) { return c.textEncoding() == "UTF-8"; }},
      {"textEncoding", "Bad 'textEncoding' config file command (CFG:1)",
       [](auto& c) { return c.textEncoding() == "Latin1"; }},
      {"t1libControl high", "",
       [](auto& c) { return c.t1libControl() == CPDFRasterControl::High; }},
      {"freetypeControl none", "",
       [](auto& c) { return c.freetypeControl() == CPDFRasterControl::None; }},
      {"freetypeControl max", "Bad 'freetypeControl' config file command (CFG:1)",
       [](auto& c) { return c.freetypeControl() == CPDFRasterControl::Low; }},
      {"urlCommand 'xdg-open %s'", "", [](auto& c) { return c.urlCommand() == "xdg-open %s"; }},
      {"psFile out.ps", "", [](auto& c) { return c.psFile() == "out.ps"; }},
      {"psFont Foo /fonts/foo.pfa", "",
       [](auto& c) { return c.psFont("Foo") && *c.psFont("Foo") == "/fonts/foo.pfa"; }},
      {"psFont Foo", "Bad 'psFont' config file command (CFG:1)",
       [](auto& c) { return !c.psFont("Foo"); }},
      {"fontDir \"/usr/share/my fonts\"", "",
       [](auto& c) {
         return c.fontDirs().size() == 1 && c.fontDirs()[0] == "/usr/share/my fonts";
       }},
      {"fontDir a b", "Bad 'fontDir' config file command (CFG:1)",
       [](auto& c) { return c.fontDirs().empty(); }},
      {"toUnicodeDir /tu", "", [](auto& c) { return c.toUnicodeDirs().size() == 1; }},
      {"cMapDir Adobe-GB1", "Bad 'cMapDir' config file command (CFG:1)",
       [](auto& c) { return c.cMapDirs("Adobe-GB1") == nullptr; }},
      {"cidToUnicode Adobe-GB1", "Bad 'cidToUnicode' config file command (CFG:1)",
       [](auto&) { return true; }},
      {"unicodeMap Latin2 a b", "Bad 'unicodeMap' config file command (CFG:1)",
       [](auto&) { return true; }},
      {"nameToUnicode", "Bad 'nameToUnicode' config file command (CFG:1)",
       [](auto&) { return true; }},
      {"displayFontT1 Foo /f/foo.pfb", "",
       [](auto& c) {
         return c.getDisplayFont("Foo") &&
                c.getDisplayFont("Foo")->kind == CPDFDisplayFontKind::Type1 &&
                c.getDisplayFont("Foo")->file == "/f/foo.pfb";
       }},
      {"displayFontTT Courier /f/cour.ttf", "",
       [](auto& c) { return c.getDisplayFont("Courier")->kind == CPDFDisplayFontKind::TrueType; }},
      {"displayFontX Foo '-*-foo-%s' Latin1", "",
       [](auto& c) { return c.getDisplayFont("Foo")->pattern == "-*-foo-%s"; }},
      {"displayCIDFontX Adobe-Japan1 '-*-mincho-%s' UTF-8", "",
       [](auto& c) { return c.getDisplayCIDFont("Adobe-Japan1")->encoding == "UTF-8"; }},
      {"displayFontX Foo pattern", "Bad 'displayFont...' config file command (CFG:1)",
       [](auto& c) { return !c.getDisplayFont("Foo"); }},
      {"displayFontTT Foo", "Bad 'displayFont...' config file command (CFG:1)",
       [](auto& c) { return !c.getDisplayFont("Foo"); }},
      {"frobnicate 1", "Unknown config file command 'frobnicate' (CFG:1)",
       [](auto&) { return true; }},
  };
  ConfigWorld world;
  const std::string cfg = world.path("cwd/config.lst").string();
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.line);
    ErrorLog log;
    CPDFConfig config = world.config(std::string(c.line) + "\n");
    std::string expected = c.message;
    if (auto at = expected.find("CFG"); at != std::string::npos) {
      expected.replace(at, 3, cfg);
    }
    if (expected.empty()) {
      EXPECT_TRUE(log.empty()) << log.entries().front().message;
    } else {
      EXPECT_EQ(log.count(expected), 1u);
    }
    EXPECT_TRUE(c.check(config));
  }
}

TEST(CPDFConfigTest, ObsoleteCommandsReportTheFormatChange) {
  ConfigWorld world;
  ErrorLog log;
  CPDFConfig config = world.config("fontmap Foo bar\nfontpath /x\n");
  EXPECT_EQ(log.count("Unknown config file command"), 2u);
  EXPECT_EQ(log.count("-- the config file format has changed"), 2u);
  EXPECT_TRUE(config.fontDirs().empty());
}

TEST(CPDFConfigTest, TokensHonourQuotes) {
  struct Case {
    const char* line;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"cMapDir Adobe-GB1 \"/my cmaps/gb\"", {"cMapDir", "Adobe-GB1", "/my cmaps/gb"}},
      {"a 'b \"c' d", {"a", "b \"c", "d"}},
      {"  \tx\ty  ", {"x", "y"}},
      {"a \"unterminated quote", {"a", "unterminated quote"}},
      {"a\"b c\"", {"a\"b", "c\""}},
      {"''", {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CPDFConfigParser::tokenize(c.line), c.tokens) << c.line;
  }
}

TEST(CPDFConfigTest, MessagesCarryTheLineNumber) {
  ConfigWorld world;
  ErrorLog log;
  // A line longer than the 511-byte line buffer goes on as the next line.
  CPDFConfig config =
      world.config("# one\r\ntextEOL dos\r\n\r\npsLevel x\n" + std::string(511, ' ') + "bogus\n");
  const std::string cfg = world.path("cwd/config.lst").string();
  EXPECT_EQ(log.count("Bad 'psLevel' config file command (" + cfg + ":4)"), 1u);
  EXPECT_EQ(log.count("Unknown config file command 'bogus' (" + cfg + ":6)"), 1u);
  EXPECT_EQ(log.size(), 2u);
}

TEST(CPDFConfigTest, LaterSettingsReplaceAndListsGrowInOrder) {
  ConfigWorld world;
  world.write("one/X-H", "first");
  world.write("two/X-H", "second");
  world.write("two/Y-H", "only in two");
  CPDFConfig config = world.config("cMapDir Adobe-X " + world.path("one").string() + "\n" +
                                   "cMapDir Adobe-X " + world.path("two").string() + "\n" +
                                   "cidToUnicode Adobe-X first.txt\ncidToUnicode Adobe-X " +
                                   world.path("two/X-H").string() + "\n");
  ASSERT_NE(config.cMapDirs("Adobe-X"), nullptr);
  EXPECT_EQ(config.cMapDirs("Adobe-X")->size(), 2u);
  ConfigFile x = config.findCMapFile("Adobe-X", "X-H");
  ASSERT_TRUE(x);
  EXPECT_EQ(*x.readAll(), "first");
  ConfigFile y = config.findCMapFile("Adobe-X", "Y-H");
  ASSERT_TRUE(y);
  EXPECT_EQ(*y.readAll(), "only in two");
  EXPECT_FALSE(config.findCMapFile("Adobe-X", "Z-H"));
  EXPECT_FALSE(config.findCMapFile("Adobe-Other", "X-H"));
  ConfigFile cid = config.openCIDToUnicodeFile("Adobe-X");
  ASSERT_TRUE(cid);
  EXPECT_EQ(*cid.readAll(), "second");
  EXPECT_FALSE(config.openCIDToUnicodeFile("Adobe-Y"));
}

TEST(CPDFConfigTest, NamesFromDocumentsStayInsideTheirFolders) {
  ConfigWorld world;
  world.write("secret", "no");
  world.write("cmaps/sub/A", "nested");
  world.write("fonts/Foo.pfb", "font");
  fs::create_directories(world.path("cmaps/Dir"));
  CPDFConfig config = world.config("cMapDir C " + world.path("cmaps").string() + "\n" +
                                   "toUnicodeDir " + world.path("cmaps").string() + "\n" +
                                   "fontDir " + world.path("fonts").string() + "\n");
  for (const char* name : {"../secret", "sub/A", "..", ".", "", "Dir"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(config.findCMapFile("C", name));
    EXPECT_FALSE(config.findToUnicodeFile(name));
  }
  EXPECT_EQ(config.findFontFile("Foo", ".pfa", ".pfb"), world.path("fonts/Foo.pfb"));
  EXPECT_FALSE(config.findFontFile("../fonts/Foo", ".pfa", ".pfb"));
  EXPECT_FALSE(config.findFontFile("Foo", ".ttf", ""));
}

TEST(CPDFConfigTest, OpenConfigFileSearchOrder) {
  ConfigWorld world;
  world.write("tmp/data.txt", "tmp");
  CPDFConfig config("", world.locations());
  EXPECT_EQ(*config.openConfigFile("data.txt").readAll(), "tmp");
  world.write("bin/Resource/CMap/data.txt", "cmap");
  EXPECT_EQ(*config.openConfigFile("data.txt").readAll(), "cmap");
  world.write("bin/Resource/data.txt", "resource");
  EXPECT_EQ(*config.openConfigFile("some/where/data.txt").readAll(), "resource");
  world.write("cwd/data.txt", "cwd");
  EXPECT_EQ(*config.openConfigFile("data.txt").readAll(), "cwd");
  EXPECT_EQ(config.openConfigFile("data.txt").path(), world.path("cwd/data.txt"));
  fs::create_directories(world.path("cwd/folder"));
  EXPECT_FALSE(config.openConfigFile("folder"));
  EXPECT_FALSE(config.openConfigFile("missing.txt"));
}

TEST(CPDFConfigTest, TemporaryFolderFileOfAnotherUserIsIgnored) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "only root can give a file to another user";
  }
  ConfigWorld world;
  world.write("tmp/data.txt", "planted");
  ASSERT_EQ(::chown(world.path("tmp/data.txt").c_str(), 65534, 65534), 0);
  CPDFConfig config("", world.locations());
  EXPECT_FALSE(config.openConfigFile("data.txt"));
}

TEST(CPDFConfigTest, ConfigurationFileSearch) {
  const std::string cwd = "cwd/config.lst", resource = "bin/Resource/config.lst",
                    cmap = "bin/Resource/CMap/config.lst", tmp = "tmp/config.lst",
                    home = "home/pdfrc", bin = "bin/pdfrc";
  struct Case {
    std::vector<std::string> present;
    std::string expected;  // "" when none is read
  };
  const Case cases[] = {
      {{cwd, resource, cmap, tmp, home, bin}, cwd},
      {{resource, cmap, tmp, home, bin}, resource},
      {{cmap, tmp, home, bin}, cmap},
      {{tmp, home, bin}, tmp},
      {{home, bin}, home},
      {{bin}, bin},
      {{}, ""},
  };
  for (const Case& c : cases) {
    ConfigWorld world;
    for (const std::string& file : c.present) {
      world.write(file, "textEncoding " + file + "\n");
    }
    ErrorLog log;
    CPDFConfig config("config.lst", world.locations());
    SCOPED_TRACE(c.expected);
    if (c.expected.empty()) {
      EXPECT_FALSE(config.configFilePath());
      EXPECT_EQ(config.textEncoding(), "Latin1");
    } else {
      EXPECT_EQ(config.configFilePath(), world.path(c.expected));
      EXPECT_EQ(config.textEncoding(), c.expected);
    }
    // Falling back to the program folder is reported, never shown to the user.
    bool fellBack = c.expected.empty() || c.expected == bin;
    EXPECT_EQ(log.countContaining("No configuration file found"), fellBack ? 1u : 0u);
  }
}

TEST(CPDFConfigTest, HomeDefaultsToTheCurrentFolder) {
  ConfigWorld world;
  world.write("cwd/pdfrc", "textEncoding here\n");
  CPDFConfigLocations locations = world.locations();
  locations.homeDirectory.reset();
  CPDFConfig config("", locations);
  EXPECT_EQ(config.textEncoding(), "here");
}

}  // namespace
}  // namespace qv
