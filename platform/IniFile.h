#pragma once

// A private-profile (INI) settings file held in memory: "[Section]" headers and "Key=Value"
// lines. Section and key names compare case-insensitively (ASCII); every line that is not
// touched by a write (comments, other sections, other keys, unknown lines) is kept as it
// was, so a read-modify-write never loses what other parts of the program stored.
//
// An IniFile is a plain value owned by its user; it is not shared between threads. load()
// never fails: a missing or unreadable file is an empty one. save() writes the whole file
// under a temporary name in the same folder and renames it over the old one, so a crash
// never leaves a half-written settings file behind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class IniFile {
 public:
  // Strings read from the file are cut to this many bytes, as a 1024-byte buffer holds them.
  static constexpr size_t kMaxValueLength = 1023;
  // A settings file larger than this is not read (hostile or foreign data); such a file is
  // never overwritten either: save() refuses, so nothing of it is lost.
  static constexpr uintmax_t kMaxFileBytes = 4u << 20;

  IniFile() = default;

  // Reads the file; a missing or unreadable file gives an empty IniFile.
  static IniFile load(const std::filesystem::path& file);
  // Parses INI text (used by load and by tests).
  static IniFile parse(std::string_view text);

  // The key's value with surrounding blanks and one pair of matching quotes removed, cut to
  // kMaxValueLength bytes (at a UTF-8 character boundary); none when the section or key is
  // missing.
  std::optional<std::string> find(std::string_view section, std::string_view key) const;

  // The key's value, or fallback when the key is missing.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;

  // The key's value as a 32-bit decimal integer (leading blanks and a sign allowed, trailing
  // text ignored); fallback when the key is missing, empty, not a number or out of range.
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) const;

  // Sets the key, creating the section at the end of the file and the key at the end of its
  // section when missing. Line breaks in the value become blanks (a value is one line);
  // values that would lose blanks or quotes on reading are quoted.
  void write(std::string_view section, std::string_view key, std::string_view value);

  // The file's text as save() writes it.
  std::string text() const;

  // Writes text() atomically (temporary file + rename). False when the file cannot be
  // written, or when the file on disk is too large to have been read.
  bool save(const std::filesystem::path& file) const;

  // Parses an integer as readInt does; none when text is not a number.
  static std::optional<int32_t> parseInt(std::string_view text);

 private:
  struct Line {
    std::string raw;  // the line as read or as rebuilt, without its line end
    std::string key;  // trimmed key name; empty for non-key lines
    bool isKey = false;
  };
  struct Section {
    std::string name;         // trimmed name; empty for the lines before the first header
    std::vector<Line> lines;  // the header line (if any) is not among them
    bool hasHeader = false;
    std::string headerRaw;
  };

  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);

  std::vector<Section> sections_;
  std::string lineEnd_ = "\n";
  bool refuseSave_ = false;
};

}  // namespace qv
