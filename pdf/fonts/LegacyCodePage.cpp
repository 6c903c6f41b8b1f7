#include "pdf/fonts/LegacyCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace qv {

std::optional<LegacyCodePage> parseLegacyCodePage(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "1252" || lower == "windows-1252" || lower == "cp1252") {
    return LegacyCodePage::kWindows1252;
  }
  if (lower == "936" || lower == "gbk" || lower == "cp936") {
    return LegacyCodePage::kGBK;
  }
  if (lower == "932" || lower == "shift-jis" || lower == "shift_jis" || lower == "cp932") {
    return LegacyCodePage::kShiftJIS;
  }
  if (lower == "950" || lower == "big5" || lower == "cp950") {
    return LegacyCodePage::kBig5;
  }
  if (lower == "949" || lower == "uhc" || lower == "cp949") {
    return LegacyCodePage::kUHC;
  }
  return std::nullopt;
}

bool isDoubleByteCodePage(LegacyCodePage page) {
  return page != LegacyCodePage::kWindows1252;
}

char16_t convertDoubleByte(LegacyCodePage page, unsigned char lead, unsigned char trail) {
  const char* charset = nullptr;
  switch (page) {
    case LegacyCodePage::kGBK:
      charset = "CP936";
      break;
    case LegacyCodePage::kShiftJIS:
      charset = "CP932";
      break;
    case LegacyCodePage::kBig5:
      charset = "CP950";
      break;
    case LegacyCodePage::kUHC:
      charset = "CP949";
      break;
    case LegacyCodePage::kWindows1252:
      return 0;
  }
  // The Windows code pages through the C library's converter; one converter per call keeps
  // this free of shared state.
  iconv_t cd = iconv_open("UTF-16LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    return 0;
  }
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 2;
  size_t outLeft = sizeof(out);
  size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || inLeft != 0 || sizeof(out) - outLeft != 2) {
    return 0;
  }
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                               (static_cast<unsigned char>(out[1]) << 8));
}

}  // namespace qv
