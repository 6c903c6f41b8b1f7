#include "pdf/config/CPDFConfigParser.h"

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

struct PaperSize {
  const char* name;
  int width;
  int height;
};

constexpr PaperSize kPaperSizes[] = {
    {"letter", 612, 792}, {"legal", 612, 1008}, {"A4", 595, 842}, {"A3", 842, 1190}};

template <typename Enum, size_t N>
bool lookupWord(const std::string& word, const char* const (&words)[N], Enum& out) {
  for (size_t i = 0; i < N; ++i) {
    if (word == words[i]) {
      out = static_cast<Enum>(i);
      return true;
    }
  }
  return false;
}

constexpr const char* kLevels[] = {"level1", "level1sep", "level2", "level2sep"};
constexpr const char* kEOLs[] = {"unix", "dos", "mac"};
constexpr const char* kControls[] = {"none", "plain", "low", "high"};

}  // namespace

std::vector<std::string> CPDFConfigParser::tokenize(std::string_view line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) {
      ++i;
    }
    if (i == line.size()) {
      break;
    }
    if (line[i] == '"' || line[i] == '\'') {
      char quote = line[i++];
      size_t start = i;
      while (i < line.size() && line[i] != quote) {
        ++i;
      }
      tokens.emplace_back(line.substr(start, i - start));
      if (i < line.size()) {
        ++i;  // the closing quote
      }
    } else {
      size_t start = i;
      while (i < line.size() && !isSpace(line[i])) {
        ++i;
      }
      tokens.emplace_back(line.substr(start, i - start));
    }
  }
  return tokens;
}

void CPDFConfigParser::bad(const char* command, int lineNumber) const {
  reportError(-1, "Bad '%s' config file command (%s:%d)", command, fileName_.c_str(), lineNumber);
}

void CPDFConfigParser::badNamed(const std::string& command, int lineNumber) const {
  bad(command.c_str(), lineNumber);
}

bool CPDFConfigParser::setYesNo(const std::vector<std::string>& tokens, bool& flag,
                                int lineNumber) const {
  if (tokens.size() == 2 && (tokens[1] == "yes" || tokens[1] == "no")) {
    flag = tokens[1] == "yes";
    return true;
  }
  badNamed(tokens[0], lineNumber);
  return false;
}

bool CPDFConfigParser::setControl(const std::vector<std::string>& tokens, int lineNumber) const {
  CPDFRasterControl control;
  if (tokens.size() != 2 || !lookupWord(tokens[1], kControls, control)) {
    badNamed(tokens[0], lineNumber);
    return false;
  }
  (tokens[0] == "t1libControl" ? config_.t1libControl_ : config_.freetypeControl_) = control;
  return true;
}

void CPDFConfigParser::parseLine(std::string_view line, int lineNumber) {
  std::vector<std::string> tokens = tokenize(line);
  if (tokens.empty() || tokens[0][0] == '#') {
    return;
  }
  const std::string& command = tokens[0];
  const size_t n = tokens.size();
  CPDFConfig& c = config_;
  // Checks the number of tokens of a command, reporting the line when it is wrong.
  auto arity = [&](size_t wanted, const char* name) {
    if (n == wanted) {
      return true;
    }
    bad(name, lineNumber);
    return false;
  };

  if (command == "nameToUnicode") {
    if (arity(2, "nameToUnicode")) {
      c.readNameToUnicode(tokens[1]);
    }
  } else if (command == "cidToUnicode") {
    if (arity(3, "cidToUnicode")) {
      c.cidToUnicodeFiles_[tokens[1]] = tokens[2];
    }
  } else if (command == "unicodeMap") {
    if (arity(3, "unicodeMap")) {
      c.unicodeMapFiles_[tokens[1]] = tokens[2];
    }
  } else if (command == "cMapDir") {
    if (arity(3, "cMapDir")) {
      c.cMapDirs_[tokens[1]].push_back(tokens[2]);
    }
  } else if (command == "toUnicodeDir") {
    if (arity(2, "toUnicodeDir")) {
      c.toUnicodeDirs_.push_back(tokens[1]);
    }
  } else if (command == "displayFontX" || command == "displayCIDFontX") {
    if (n != 4) {
      bad("displayFont...", lineNumber);
      return;
    }
    auto& table = command == "displayFontX" ? c.displayFonts_ : c.displayCIDFonts_;
    table[tokens[1]] = CPDFDisplayFont{CPDFDisplayFontKind::X, tokens[2], tokens[3], {}};
  } else if (command == "displayFontT1" || command == "displayFontTT") {
    if (n != 3) {
      bad("displayFont...", lineNumber);
      return;
    }
    auto kind =
        command == "displayFontT1" ? CPDFDisplayFontKind::Type1 : CPDFDisplayFontKind::TrueType;
    c.displayFonts_[tokens[1]] = CPDFDisplayFont{kind, {}, {}, tokens[2]};
  } else if (command == "psFile") {
    if (arity(2, "psFile")) {
      c.psFile_ = tokens[1];
    }
  } else if (command == "psFont") {
    if (arity(3, "psFont")) {
      c.psFonts_[tokens[1]] = tokens[2];
    }
  } else if (command == "psPaperSize") {
    int width = 0;
    int height = 0;
    bool ok = false;
    if (n == 2) {
      for (const PaperSize& size : kPaperSizes) {
        if (tokens[1] == size.name) {
          width = size.width;
          height = size.height;
          ok = true;
        }
      }
    } else if (n == 3) {
      ok = parseDecimal(tokens[1], width) && parseDecimal(tokens[2], height);
    }
    if (ok) {
      c.psPaperWidth_ = width;
      c.psPaperHeight_ = height;
    } else {
      bad("psPaperSize", lineNumber);
    }
  } else if (command == "psDuplex") {
    setYesNo(tokens, c.psDuplex_, lineNumber);
  } else if (command == "psLevel") {
    if (n != 2 || !lookupWord(tokens[1], kLevels, c.psLevel_)) {
      bad("psLevel", lineNumber);
    }
  } else if (command == "psEmbedType1") {
    setYesNo(tokens, c.psEmbedType1_, lineNumber);
  } else if (command == "psEmbedTrueType") {
    setYesNo(tokens, c.psEmbedTrueType_, lineNumber);
  } else if (command == "psOPI") {
    setYesNo(tokens, c.psOPI_, lineNumber);
  } else if (command == "textEncoding") {
    if (arity(2, "textEncoding")) {
      c.textEncoding_ = tokens[1];
    }
  } else if (command == "textEOL") {
    if (n != 2 || !lookupWord(tokens[1], kEOLs, c.textEOL_)) {
      bad("textEOL", lineNumber);
    }
  } else if (command == "fontDir") {
    if (arity(2, "fontDir")) {
      c.fontDirs_.push_back(tokens[1]);
    }
  } else if (command == "t1libControl" || command == "freetypeControl") {
    setControl(tokens, lineNumber);
  } else if (command == "urlCommand") {
    if (arity(2, "urlCommand")) {
      c.urlCommand_ = tokens[1];
    }
  } else if (command == "mapNumericCharNames") {
    setYesNo(tokens, c.mapNumericCharNames_, lineNumber);
  } else if (command == "errQuiet") {
    setYesNo(tokens, c.errQuiet_, lineNumber);
  } else if (command == "fontpath" || command == "fontmap") {
    reportError(-1, "Unknown config file command");
    reportError(-1, "-- the config file format has changed");
  } else {
    reportError(-1, "Unknown config file command '%s' (%s:%d)", command.c_str(), fileName_.c_str(),
                lineNumber);
  }
}

}  // namespace qv
