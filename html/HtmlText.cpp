#include "html/HtmlText.h"

#include <cstdio>

namespace qv {

namespace {

// Length of the valid UTF-8 sequence at text[pos], or 0 when there is none (overlong forms,
// surrogates and values above U+10FFFF are not valid).
size_t validSequenceAt(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    return 1;
  }
  size_t length = 0;
  char32_t c = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    c = b0 & 0x07;
  } else {
    return 0;
  }
  if (pos + length > text.size()) {
    return 0;
  }
  for (size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      return 0;
    }
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (utf8Length(c) != length || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
    return 0;
  }
  return length;
}

bool isDroppedControl(unsigned char c) {
  return (c < 0x20 && c != '\t') || c == 0x7F;
}

std::string escapeHtml(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += attribute ? "&#39;" : "'";
        break;
      default:
        if (!isDroppedControl(c)) {
          out += ch;
        }
    }
  }
  return out;
}

std::string hexColor(int32_t color, const char* format) {
  char buffer[8];
  uint32_t value = static_cast<uint32_t>(color);
  std::snprintf(buffer, sizeof buffer, format, value & 0xFF, (value >> 8) & 0xFF,
                (value >> 16) & 0xFF);
  return buffer;
}

}  // namespace

std::string ToValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t length = validSequenceAt(text, pos);
    if (length == 0) {
      appendUtf8(out, static_cast<unsigned char>(text[pos]));
      ++pos;
    } else {
      out.append(text.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

std::string EscapeHtmlText(std::string_view text) {
  return escapeHtml(text, false);
}

std::string EscapeHtmlAttribute(std::string_view text) {
  return escapeHtml(text, true);
}

std::string EscapeJsString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\'':
        out += "\\'";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '<':
        out += "\\x3C";
        break;
      case '>':
        out += "\\x3E";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
          out += buffer;
        } else if (c == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                   (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
          // U+2028 and U+2029 end a line inside older JavaScript string literals.
          out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string CssFontFamily(std::string_view name) {
  std::string out;
  for (char ch : name) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == ';' || c == '{' || c == '}' || c == '<' || c == '>' ||
        c == '"' || c == '\'' || c == '\\') {
      continue;
    }
    out += ch;
  }
  return out;
}

bool IsSafeLinkTarget(std::string_view target) {
  // A browser strips leading blanks and controls, and removes tabs and line breaks anywhere,
  // before it reads the scheme.
  std::string scheme;
  for (char ch : target) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == ':') {
      return scheme != "javascript" && scheme != "vbscript" && scheme != "data";
    }
    if (c <= 0x20) {
      continue;
    }
    if (scheme.size() > 16) {
      return true;  // longer than any of the refused schemes
    }
    scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return true;
}

std::string HexColorUpper(int32_t color) {
  return hexColor(color, "%02X%02X%02X");
}

std::string HexColorLower(int32_t color) {
  return hexColor(color, "%02x%02x%02x");
}

std::string KeywordMetaText(const ConvertOptions& options) {
  if (options.keywords.empty()) {
    return {};
  }
  return "\n<meta name=\"keywords\" content=\"" + EscapeHtmlAttribute(options.keywords) + "\">\n";
}

std::string LinkStyleText(const ConvertOptions& options, bool hoverBlank) {
  return "A:link {text-decoration: none; color: #" + HexColorUpper(options.linksColor) +
         "}\nA:visited {text-decoration: none; color: #" +
         HexColorUpper(options.visitedLinksColor) + "}\nA:active {text-decoration: #" +
         HexColorUpper(options.activeLinksColor) +
         "}\nA:hover {text-decoration: underline; color:" + (hoverBlank ? " #" : "#") +
         HexColorUpper(options.activeLinksColor) + "}\n";
}

}  // namespace qv
