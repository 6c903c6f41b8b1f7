#pragma once

// The legacy ANSI code page that the double-byte text of non-embedded simple fonts is read
// in. Windows-1252 (the default) is single-byte, so the double-byte rule never applies under
// it; GBK, Shift-JIS, Big5 and UHC make it apply. A small value chosen by whoever opens the
// document.

#include <optional>
#include <string_view>

namespace qv {

enum class LegacyCodePage { kWindows1252, kGBK, kShiftJIS, kBig5, kUHC };

// The code page a setting names ("1252", "windows-1252", "gbk", "936", "shift-jis", "932",
// "big5", "950", "uhc", "949", case-insensitive), or nothing.
std::optional<LegacyCodePage> parseLegacyCodePage(std::string_view name);

bool isDoubleByteCodePage(LegacyCodePage page);

// The one UTF-16 unit the two bytes `lead`, `trail` stand for in `page`, or 0 when they are
// not a double-byte character there.
char16_t convertDoubleByte(LegacyCodePage page, unsigned char lead, unsigned char trail);

}  // namespace qv
