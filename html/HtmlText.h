#pragma once

// Text helpers shared by the site writers: conversion of page text to UTF-8, escaping of
// text for the place it lands in (HTML text, an attribute value, a JavaScript string inside
// a script element, a CSS font family), colour formatting and the checks on link targets.
// Pure functions without state.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/options/ConvertOptions.h"
#include "platform/Utf8.h"

namespace qv {

// Declares the encoding of every generated HTML file; written right after "<head>".
inline constexpr std::string_view kCharsetMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";

// Returns text unchanged when it is valid UTF-8; otherwise reads every byte that is not part
// of a valid UTF-8 sequence as Latin-1 (the low byte of a UTF-16 unit), so that the result is
// always valid UTF-8.
std::string ToValidUtf8(std::string_view text);

// Escapes &, <, > and the double quote for HTML text and double-quoted attribute values; the
// single quote too for attributes. Control characters other than tab are dropped.
std::string EscapeHtmlText(std::string_view text);
std::string EscapeHtmlAttribute(std::string_view text);

// Escapes text for a JavaScript string literal (either quote) inside a script element:
// backslash, both quotes, line breaks and controls, and < > so that no "</script>" can end
// the element early.
std::string EscapeJsString(std::string_view text);

// A face name for an unquoted CSS font-family value: characters that could end the
// declaration, the rule or the style element are removed.
std::string CssFontFamily(std::string_view name);

// False for a link target with a javascript:, vbscript: or data: scheme (compared as a
// browser does: case-insensitive, ignoring blanks and control characters).
bool IsSafeLinkTarget(std::string_view target);

// A 0x00BBGGRR colour as six hexadecimal digits, red first.
std::string HexColorUpper(int32_t color);
std::string HexColorLower(int32_t color);

// The keywords meta text of the site pages: empty when keywords is empty, otherwise
// "\n<meta name=\"keywords\" content=\"" + the escaped keywords + "\">\n".
std::string KeywordMetaText(const ConvertOptions& options);

// The link style lines of the site pages (upper-case colours), each ending in a line feed.
// hoverBlank: whether the hover line has a blank after "color:".
std::string LinkStyleText(const ConvertOptions& options, bool hoverBlank);

}  // namespace qv
