#include "pdf/config/CPDFConfig.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "pdf/config/CPDFConfigParser.h"
#include "pdf/config/GlyphNames.h"
#include "pdf/config/MacRomanEncoding.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

// Configuration files are read in lines of this many bytes; longer lines continue as the
// next line.
constexpr size_t kConfigLineLength = 511;
constexpr size_t kNameToUnicodeLineLength = 255;

struct StandardDisplayFont {
  const char* name;
  const char* pattern;
  const char* encoding;
};

constexpr StandardDisplayFont kStandardDisplayFonts[] = {
    {"Courier", "-*-courier-medium-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Courier-Bold", "-*-courier-bold-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Courier-BoldOblique", "-*-courier-bold-o-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Courier-Oblique", "-*-courier-medium-o-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Helvetica", "-*-helvetica-medium-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Helvetica-Bold", "-*-helvetica-bold-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Helvetica-BoldOblique", "-*-helvetica-bold-o-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Helvetica-Oblique", "-*-helvetica-medium-o-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Symbol", "-*-symbol-medium-r-normal-*-%s-*-*-*-*-*-adobe-fontspecific", "Symbol"},
    {"Times-Bold", "-*-times-bold-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Times-BoldItalic", "-*-times-bold-i-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Times-Italic", "-*-times-medium-i-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"Times-Roman", "-*-times-medium-r-normal-*-%s-*-*-*-*-*-iso8859-1", "Latin1"},
    {"ZapfDingbats", "-*-zapfdingbats-medium-r-normal-*-%s-*-*-*-*-*-*-*", "ZapfDingbats"},
};

bool isUpperHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Reads `digits` upper-case hex digits of `text` from `pos`.
std::optional<uint32_t> upperHex(std::string_view text, size_t pos, size_t digits) {
  if (pos + digits > text.size()) {
    return std::nullopt;
  }
  uint32_t value = 0;
  for (size_t i = pos; i < pos + digits; ++i) {
    if (!isUpperHex(text[i])) {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint32_t>(text[i] <= '9' ? text[i] - '0' : text[i] - 'A' + 10);
  }
  return value;
}

bool isSurrogate(uint32_t value) {
  return value >= 0xD800 && value <= 0xDFFF;
}

// The Adobe Glyph List rules for names that carry their Unicode value: the part before the
// first period and the first underscore-separated component of it; "uni" followed by groups
// of four upper-case hex digits gives the first group; "u" followed by four to six gives that
// value. Only values the 16-bit table can hold are returned.
char16_t unicodeFromGlyphName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  name = name.substr(0, name.find('_'));
  if (name.size() >= 7 && name.substr(0, 3) == "uni" && (name.size() - 3) % 4 == 0) {
    char16_t first = 0;
    for (size_t pos = 3; pos < name.size(); pos += 4) {
      auto value = upperHex(name, pos, 4);
      if (!value || isSurrogate(*value)) {
        return 0;
      }
      if (pos == 3) {
        first = static_cast<char16_t>(*value);
      }
    }
    return first;
  }
  if (name.size() >= 5 && name.size() <= 7 && name[0] == 'u') {
    auto value = upperHex(name, 1, name.size() - 1);
    if (value && *value <= 0xFFFF && !isSurrogate(*value)) {
      return static_cast<char16_t>(*value);
    }
  }
  return 0;
}

// File and CMap names handed to the lookups come from documents: a name must stay inside the
// folder it is looked up in.
bool isPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace

CPDFConfigLocations CPDFConfigLocations::fromProcess(
    const std::filesystem::path& executableDirectory) {
  CPDFConfigLocations locations;
  std::error_code ec;
  locations.currentDirectory = std::filesystem::current_path(ec);
  locations.baseDirectory = executableDirectory;
  locations.tempDirectory = std::filesystem::temp_directory_path(ec);
  if (const char* home = std::getenv("HOME")) {
    locations.homeDirectory = std::filesystem::path(home);
  }
  return locations;
}

CPDFConfig::CPDFConfig(std::string_view fileName, CPDFConfigLocations locations)
    : locations_(std::move(locations)) {
  addBuiltInTables();
  if (!fileName.empty()) {
    if (ConfigFile file = openConfigFile(std::string(fileName), "rb")) {
      readFile(std::move(file));
      return;
    }
  }
  std::filesystem::path home = locations_.homeDirectory.value_or(".");
  if (ConfigFile file = openConfigFile(absolute(home / "pdfrc").string(), "rb")) {
    readFile(std::move(file));
    return;
  }
  // The last place tried is the program's own folder. Reported here rather than shown to the
  // user: a batch opens one configuration per document.
  reportError(-1, "No configuration file found; trying 'pdfrc' in '%s'",
              locations_.baseDirectory.c_str());
  if (ConfigFile file =
          openConfigFile(absolute(locations_.baseDirectory / "pdfrc").string(), "rb")) {
    readFile(std::move(file));
  }
}

void CPDFConfig::addBuiltInTables() {
  const auto& macRoman = macRomanEncodingNames();
  for (size_t code = 0; code < macRoman.size(); ++code) {
    // 0xCA repeats "space"; the first code of a name is the one kept.
    if (macRoman[code] && !macRomanReverseMap_.lookup(macRoman[code])) {
      macRomanReverseMap_.add(macRoman[code], static_cast<uint32_t>(code));
    }
  }
  for (const GlyphName& glyph : builtInGlyphNames()) {
    nameToUnicode_.add(glyph.name, glyph.unicode);
  }
  for (const StandardDisplayFont& font : kStandardDisplayFonts) {
    displayFonts_[font.name] =
        CPDFDisplayFont{CPDFDisplayFontKind::X, font.pattern, font.encoding, std::string()};
  }
}

std::filesystem::path CPDFConfig::absolute(const std::filesystem::path& path) const {
  if (path.is_absolute()) {
    return path;
  }
  return locations_.currentDirectory / path;
}

namespace {

// The temporary folder is shared by every user of the machine: a file there is only taken
// when this user owns it, so nobody else can plant a configuration or a data file.
bool ownedByThisUser(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid();
}

}  // namespace

ConfigFile CPDFConfig::openConfigFile(const std::string& name, const char* mode) const {
  if (name.empty()) {
    return ConfigFile();
  }
  std::filesystem::path fileName = std::filesystem::path(name).filename();
  std::string temp = locations_.tempDirectory.string();
  if (temp.empty() || temp.back() != '/') {
    temp += '/';
  }
  const std::filesystem::path candidates[] = {
      absolute(name),
      locations_.baseDirectory / "Resource" / fileName,
      locations_.baseDirectory / "Resource" / "CMap" / fileName,
      std::filesystem::path(temp + name),
  };
  for (const std::filesystem::path& candidate : candidates) {
    if (candidate.empty() || (&candidate != &candidates[0] && fileName.empty())) {
      continue;
    }
    // Only regular files: a folder, a device or a pipe named by a document or a stray entry
    // must not block or be read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(candidate, ec)) {
      continue;
    }
    if (&candidate == &candidates[3] && !ownedByThisUser(candidate)) {
      continue;
    }
    if (std::FILE* file = std::fopen(candidate.c_str(), mode)) {
      return ConfigFile(file, candidate);
    }
  }
  return ConfigFile();
}

void CPDFConfig::readFile(ConfigFile file) {
  configFilePath_ = file.path();
  std::string displayName = file.path().string();
  std::optional<std::string> text = file.readAll();
  if (!text) {
    return;
  }
  CPDFConfigParser parser(*this, displayName);
  TextLineReader lines(*text, kConfigLineLength);
  std::string_view line;
  int lineNumber = 1;
  while (lines.next(line)) {
    parser.parseLine(line, lineNumber++);
  }
}

void CPDFConfig::readNameToUnicode(const std::string& name) {
  ConfigFile file = openConfigFile(name, "rb");
  if (!file) {
    reportError(-1, "Couldn't open 'nameToUnicode' file '%s'", name.c_str());
    return;
  }
  std::string displayName = file.path().string();
  std::optional<std::string> text = file.readAll();
  if (!text) {
    return;
  }
  TextLineReader lines(*text, kNameToUnicodeLineLength);
  std::string_view line;
  int lineNumber = 1;
  while (lines.next(line)) {
    std::vector<std::string_view> tokens = splitTokens(line, 2);
    uint32_t value = 0;
    if (tokens.size() == 2 && parseHex(tokens[0], value)) {
      nameToUnicode_.add(tokens[1], value & 0xFFFF);
    } else {
      reportError(-1, "Bad line in 'nameToUnicode' file (%s:%d)", displayName.c_str(), lineNumber);
    }
    ++lineNumber;
  }
}

char16_t CPDFConfig::mapNameToUnicode(std::string_view name) const {
  if (auto value = nameToUnicode_.lookup(name)) {
    return static_cast<char16_t>(*value);
  }
  return unicodeFromGlyphName(name);
}

std::optional<uint8_t> CPDFConfig::mapNameToMacRoman(std::string_view name) const {
  if (auto code = macRomanReverseMap_.lookup(name)) {
    return static_cast<uint8_t>(*code);
  }
  return std::nullopt;
}

ConfigFile CPDFConfig::openCIDToUnicodeFile(std::string_view collection) const {
  auto it = cidToUnicodeFiles_.find(collection);
  return it == cidToUnicodeFiles_.end() ? ConfigFile() : openConfigFile(it->second, "rb");
}

ConfigFile CPDFConfig::openUnicodeMapFile(std::string_view encoding) const {
  auto it = unicodeMapFiles_.find(encoding);
  return it == unicodeMapFiles_.end() ? ConfigFile() : openConfigFile(it->second, "rb");
}

ConfigFile CPDFConfig::findCMapFile(std::string_view collection, std::string_view cmapName) const {
  auto it = cMapDirs_.find(collection);
  if (it == cMapDirs_.end() || !isPlainFileName(cmapName)) {
    return ConfigFile();
  }
  for (const std::string& dir : it->second) {
    std::string path = dir + "/" + std::string(cmapName);
    if (ConfigFile file = openConfigFile(absolute(path).string(), "rb")) {
      return file;
    }
  }
  return ConfigFile();
}

ConfigFile CPDFConfig::findToUnicodeFile(std::string_view name) const {
  if (!isPlainFileName(name)) {
    return ConfigFile();
  }
  for (const std::string& dir : toUnicodeDirs_) {
    std::string path = dir + "/" + std::string(name);
    if (ConfigFile file = openConfigFile(absolute(path).string(), "rb")) {
      return file;
    }
  }
  return ConfigFile();
}

std::optional<std::filesystem::path> CPDFConfig::findFontFile(std::string_view fontName,
                                                              std::string_view ext1,
                                                              std::string_view ext2) const {
  if (!isPlainFileName(fontName)) {
    return std::nullopt;
  }
  for (const std::string& dir : fontDirs_) {
    for (int i = 0; i < 2; ++i) {
      std::string_view ext = i == 0 ? ext1 : ext2;
      if (i == 1 && ext.empty()) {
        break;
      }
      std::string path = dir + "/" + std::string(fontName) + std::string(ext);
      if (ConfigFile file = openConfigFile(absolute(path).string(), "rb")) {
        return file.path();
      }
    }
  }
  return std::nullopt;
}

const CPDFDisplayFont* CPDFConfig::getDisplayFont(std::string_view fontName) const {
  auto it = displayFonts_.find(fontName);
  return it == displayFonts_.end() ? nullptr : &it->second;
}

const CPDFDisplayFont* CPDFConfig::getDisplayCIDFont(std::string_view collection) const {
  auto it = displayCIDFonts_.find(collection);
  return it == displayCIDFonts_.end() ? nullptr : &it->second;
}

const std::string* CPDFConfig::psFont(std::string_view fontName) const {
  auto it = psFonts_.find(fontName);
  return it == psFonts_.end() ? nullptr : &it->second;
}

const std::vector<std::string>* CPDFConfig::cMapDirs(std::string_view collection) const {
  auto it = cMapDirs_.find(collection);
  return it == cMapDirs_.end() ? nullptr : &it->second;
}

}  // namespace qv
