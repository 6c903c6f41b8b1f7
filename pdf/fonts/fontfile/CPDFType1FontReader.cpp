#include "pdf/fonts/fontfile/CPDFType1FontReader.h"

#include <charconv>
#include <vector>

#include "pdf/fonts/data/FontEncodings.h"

namespace qv {

namespace {

// Splits off the next line (ending at CR, LF or CR LF) from `rest`; false at the end.
bool nextLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) {
    return false;
  }
  size_t end = 0;
  while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n') {
    ++end;
  }
  line = rest.substr(0, end);
  if (end < rest.size() && rest[end] == '\r') {
    ++end;
    if (end < rest.size() && rest[end] == '\n') {
      ++end;
    }
  } else if (end < rest.size()) {
    ++end;
  }
  rest.remove_prefix(end);
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::vector<std::string_view> tokens(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) {
      ++i;
    }
    size_t start = i;
    while (i < line.size() && !isBlank(line[i])) {
      ++i;
    }
    if (i > start) {
      out.push_back(line.substr(start, i - start));
    }
  }
  return out;
}

}  // namespace

CPDFType1FontReader::CPDFType1FontReader(std::string_view bytes) {
  // A PFB file starts with a segment header (0x80, type 1, four length bytes) before the
  // cleartext.
  if (bytes.size() >= 6 && static_cast<uint8_t>(bytes[0]) == 0x80 && bytes[1] == 1) {
    bytes.remove_prefix(6);
  }
  std::string_view rest = bytes;
  std::string_view line;
  for (int n = 0; n < kMaxHeaderLines && nextLine(rest, line); ++n) {
    if (line.starts_with("/FontName")) {
      size_t slash = line.find('/', 9);
      if (slash != std::string_view::npos) {
        size_t end = slash + 1;
        while (end < line.size() && !isBlank(line[end])) {
          ++end;
        }
        name_ = std::string(line.substr(slash + 1, end - slash - 1));
      }
    } else if (line.starts_with("/Encoding StandardEncoding def")) {
      const FontEncodingTable& standard = standardEncoding();
      for (int code = 0; code < 256; ++code) {
        if (standard[code]) {
          encoding_[code] = std::string(standard[code]);
        }
      }
      return;
    } else if (line.starts_with("/Encoding 256 array")) {
      for (int k = 0; k < kMaxEncodingLines && nextLine(rest, line); ++k) {
        std::vector<std::string_view> words = tokens(line);
        if (words.size() >= 2 && words[1] == "def") {
          return;
        }
        // "dup <code> /<name> put", possibly several on one line.
        for (size_t i = 0; i + 4 <= words.size(); i += 4) {
          if (words[i] != "dup" || words[i + 3] != "put" || !words[i + 2].starts_with("/")) {
            break;
          }
          int code = -1;
          std::string_view digits = words[i + 1];
          auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
          if (ec != std::errc() || ptr != digits.data() + digits.size() || code < 0 ||
              code >= 256) {
            break;
          }
          encoding_[code] = std::string(words[i + 2].substr(1));
        }
      }
      return;
    }
  }
}

}  // namespace qv
