#pragma once

// UTF-8 encoding of Unicode text: page text leaves the engine as UTF-16 and is written,
// drawn and printed as UTF-8, the text encoding of this platform.

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t c);

// Number of UTF-8 bytes of one code point.
size_t utf8Length(char32_t c);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD. At most maxBytes bytes are produced;
// a character that does not fit whole is left out with everything after it.
std::string Utf16ToUtf8(std::u16string_view text, size_t maxBytes = std::string::npos);

}  // namespace qv
