#pragma once

// The engine configuration: the built-in tables the engine starts with (glyph names, the Mac
// Roman reverse map, the standard display fonts) and what the configuration file "config.lst"
// adds (where cidToUnicode, unicodeMap, CMap, ToUnicode and font files are, display fonts, a
// few switches), with the lookups that find and open those files and the caches of the
// character maps read from them.
//
// One object per open document, created by whoever opens it (the document bridge) and
// handed by reference to the engine code that needs it; there is no global instance. Use it
// on one thread at a time: the caches change on lookups. The file is read only in the
// constructor.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/config/CPDFNameToCharCode.h"
#include "pdf/config/CharMapCache.h"
#include "pdf/config/ConfigFile.h"

namespace qv {

// The folders the configuration searches. Relative names resolve against currentDirectory
// rather than the process's working folder, so two documents on two threads never depend on
// a chdir.
struct CPDFConfigLocations {
  std::filesystem::path currentDirectory;
  // The folder of the running executable; its Resource/ and Resource/CMap/ subfolders are
  // searched.
  std::filesystem::path baseDirectory;
  std::filesystem::path tempDirectory;
  // HOME, where the fallback file "pdfrc" is looked for; "." when unset.
  std::optional<std::filesystem::path> homeDirectory;

  // The process's working folder, temporary folder and HOME, with `executableDirectory`.
  static CPDFConfigLocations fromProcess(const std::filesystem::path& executableDirectory);
};

enum class CPDFDisplayFontKind : int { X = 0, Type1 = 1, TrueType = 2 };

struct CPDFDisplayFont {
  CPDFDisplayFontKind kind = CPDFDisplayFontKind::X;
  // X kind: an X logical font pattern with "%s" for the size, and an encoding name.
  std::string pattern;
  std::string encoding;
  // Type 1 and TrueType kinds: the font file.
  std::string file;
};

enum class CPDFPSLevel : int { Level1 = 0, Level1Sep = 1, Level2 = 2, Level2Sep = 3 };
enum class CPDFTextEOL : int { Unix = 0, Dos = 1, Mac = 2 };
enum class CPDFRasterControl : int { None = 0, Plain = 1, Low = 2, High = 3 };

class CPDFConfig {
 public:
  // Builds the built-in tables, then reads the configuration file: `fileName` found through
  // openConfigFile when not empty, else HOME/pdfrc, else pdfrc in the executable's folder.
  // Nothing found leaves the built-in values.
  CPDFConfig(std::string_view fileName, CPDFConfigLocations locations);
  CPDFConfig(const CPDFConfig&) = delete;
  CPDFConfig& operator=(const CPDFConfig&) = delete;

  // Opens a regular file by `name` unchanged (relative to the current folder), else by its
  // file name in the executable's Resource/ and Resource/CMap/ folders, else by `name` under
  // the temporary folder.
  ConfigFile openConfigFile(const std::string& name, const char* mode = "rb") const;

  // The Unicode value of a glyph name, 0 when unknown. Names of the form uniXXXX and
  // uXXXX[XX] that no table holds are read by the Adobe Glyph List naming rules.
  char16_t mapNameToUnicode(std::string_view name) const;
  // The code of a glyph name in the Mac Roman encoding, or nothing.
  std::optional<uint8_t> mapNameToMacRoman(std::string_view name) const;

  ConfigFile openCIDToUnicodeFile(std::string_view collection) const;
  ConfigFile openUnicodeMapFile(std::string_view encoding) const;
  // The first folder configured for `collection` that holds a file named `cmapName`.
  ConfigFile findCMapFile(std::string_view collection, std::string_view cmapName) const;
  ConfigFile findToUnicodeFile(std::string_view name) const;
  // The path of `fontName` + `ext1`, else + `ext2`, in the first font folder that has one.
  std::optional<std::filesystem::path> findFontFile(std::string_view fontName,
                                                    std::string_view ext1,
                                                    std::string_view ext2) const;

  const CPDFDisplayFont* getDisplayFont(std::string_view fontName) const;
  const CPDFDisplayFont* getDisplayCIDFont(std::string_view collection) const;

  bool mapNumericCharNames() const { return mapNumericCharNames_; }
  CPDFRasterControl t1libControl() const { return t1libControl_; }
  CPDFRasterControl freetypeControl() const { return freetypeControl_; }

  // Stored settings that nothing in the converter reads.
  const std::string& psFile() const { return psFile_; }
  int psPaperWidth() const { return psPaperWidth_; }
  int psPaperHeight() const { return psPaperHeight_; }
  bool psDuplex() const { return psDuplex_; }
  CPDFPSLevel psLevel() const { return psLevel_; }
  const std::string* psFont(std::string_view fontName) const;
  bool psEmbedType1() const { return psEmbedType1_; }
  bool psEmbedTrueType() const { return psEmbedTrueType_; }
  bool psOPI() const { return psOPI_; }
  const std::string& textEncoding() const { return textEncoding_; }
  CPDFTextEOL textEOL() const { return textEOL_; }
  const std::string& urlCommand() const { return urlCommand_; }
  bool errQuiet() const { return errQuiet_; }

  const std::vector<std::string>* cMapDirs(std::string_view collection) const;
  const std::vector<std::string>& toUnicodeDirs() const { return toUnicodeDirs_; }
  const std::vector<std::string>& fontDirs() const { return fontDirs_; }
  // The configuration file that was read, if any.
  const std::optional<std::filesystem::path>& configFilePath() const { return configFilePath_; }

  // Caches of the character maps read from files (see pdf/fonts/cmap).
  CharMapCache& cmapCache() { return cmapCache_; }
  CharMapCache& cidToUnicodeCache() { return cidToUnicodeCache_; }
  CharMapCache& unicodeMapCache() { return unicodeMapCache_; }

 private:
  friend class CPDFConfigParser;

  void addBuiltInTables();
  void readFile(ConfigFile file);
  void readNameToUnicode(const std::string& name);
  std::filesystem::path absolute(const std::filesystem::path& path) const;

  CPDFConfigLocations locations_;
  std::optional<std::filesystem::path> configFilePath_;

  CPDFNameToCharCode macRomanReverseMap_;
  CPDFNameToCharCode nameToUnicode_;
  std::map<std::string, std::string, std::less<>> cidToUnicodeFiles_;
  std::map<std::string, std::string, std::less<>> unicodeMapFiles_;
  std::map<std::string, std::vector<std::string>, std::less<>> cMapDirs_;
  std::vector<std::string> toUnicodeDirs_;
  std::map<std::string, CPDFDisplayFont, std::less<>> displayFonts_;
  std::map<std::string, CPDFDisplayFont, std::less<>> displayCIDFonts_;
  std::string psFile_;
  int psPaperWidth_ = 612;
  int psPaperHeight_ = 792;
  bool psDuplex_ = false;
  CPDFPSLevel psLevel_ = CPDFPSLevel::Level2;
  std::map<std::string, std::string, std::less<>> psFonts_;
  bool psEmbedType1_ = true;
  bool psEmbedTrueType_ = true;
  bool psOPI_ = false;
  std::string textEncoding_ = "Latin1";
  CPDFTextEOL textEOL_ = CPDFTextEOL::Dos;
  std::vector<std::string> fontDirs_;
  CPDFRasterControl t1libControl_ = CPDFRasterControl::Low;
  CPDFRasterControl freetypeControl_ = CPDFRasterControl::Low;
  std::string urlCommand_;
  bool mapNumericCharNames_ = true;
  bool errQuiet_ = false;

  CharMapCache cmapCache_;
  CharMapCache cidToUnicodeCache_;
  CharMapCache unicodeMapCache_;
};

}  // namespace qv
