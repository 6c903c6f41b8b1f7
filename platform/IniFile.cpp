#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace qv {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool isQuote(char c) {
  return c == '"' || c == '\'';
}

// Cuts text to at most max bytes without splitting a UTF-8 sequence.
std::string cutUtf8(std::string_view text, size_t max) {
  if (text.size() <= max) {
    return std::string(text);
  }
  size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    --end;
  }
  return std::string(text.substr(0, end));
}

// Writes all bytes to fd; false on any error.
bool writeAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& file) {
  std::error_code ec;
  auto status = std::filesystem::status(file, ec);
  if (ec || !std::filesystem::exists(status)) {
    return IniFile();
  }
  IniFile result;
  auto size = std::filesystem::file_size(file, ec);
  std::ifstream in(file, std::ios::binary);
  if (ec || size > kMaxFileBytes || !in || std::filesystem::is_directory(status)) {
    // Present but not ours to read: give the defaults and never overwrite it.
    result.refuseSave_ = true;
    return result;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.size() > kMaxFileBytes) {
    result.refuseSave_ = true;
    return result;
  }
  return parse(text);
}

IniFile IniFile::parse(std::string_view text) {
  IniFile result;
  result.sections_.push_back(Section{});
  size_t firstBreak = text.find('\n');
  if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') {
    result.lineEnd_ = "\r\n";
  }
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    std::string_view raw =
        text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = (end == std::string_view::npos) ? text.size() : end + 1;
    if (!raw.empty() && raw.back() == '\r') {
      raw.remove_suffix(1);
    }
    std::string_view trimmed = trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      Section section;
      size_t close = trimmed.find(']');
      section.name = std::string(trim(
          trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
      section.hasHeader = true;
      section.headerRaw = std::string(raw);
      result.sections_.push_back(std::move(section));
      continue;
    }
    Line line;
    line.raw = std::string(raw);
    size_t equals = trimmed.find('=');
    if (equals != std::string_view::npos && trimmed.front() != ';') {
      line.isKey = true;
      line.key = std::string(trim(trimmed.substr(0, equals)));
    }
    result.sections_.back().lines.push_back(std::move(line));
  }
  return result;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (section.hasHeader && equalsNoCase(section.name, name)) {
      return &section;
    }
  }
  return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->findSection(name));
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
  const Section* found = findSection(trim(section));
  if (found == nullptr) {
    return std::nullopt;
  }
  key = trim(key);
  for (const Line& line : found->lines) {
    if (!line.isKey || !equalsNoCase(line.key, key)) {
      continue;
    }
    std::string_view value = line.raw;
    value = trim(value.substr(value.find('=') + 1));
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return cutUtf8(value, kMaxValueLength);
  }
  return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  auto value = find(section, key);
  return value ? *value : cutUtf8(fallback, kMaxValueLength);
}

std::optional<int32_t> IniFile::parseInt(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int64_t value = 0;
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + (text[digits] - '0');
    if (value > (int64_t{1} << 31)) {
      return std::nullopt;
    }
    ++digits;
  }
  if (digits == 0) {
    return std::nullopt;
  }
  value = negative ? -value : value;
  if (value < INT32_MIN || value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

int32_t IniFile::readInt(std::string_view section, std::string_view key, int32_t fallback) const {
  auto value = find(section, key);
  if (!value) {
    return fallback;
  }
  return parseInt(*value).value_or(fallback);
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
  section = trim(section);
  key = trim(key);
  std::string clean(value);
  for (char& c : clean) {
    if (c == '\r' || c == '\n' || c == '\0') {
      c = ' ';
    }
  }
  bool needsQuotes =
      !clean.empty() &&
      (isBlank(clean.front()) || isBlank(clean.back()) ||
       (clean.size() >= 2 && isQuote(clean.front()) && clean.back() == clean.front()));
  std::string raw = std::string(key) + "=" + (needsQuotes ? "\"" + clean + "\"" : clean);

  if (sections_.empty()) {
    sections_.push_back(Section{});
  }
  Section* target = findSection(section);
  if (target == nullptr) {
    // Keep a blank line between the previous section and the new one.
    Section& last = sections_.back();
    bool lastIsBlank = last.lines.empty() ? !last.hasHeader : trim(last.lines.back().raw).empty();
    if (!lastIsBlank) {
      last.lines.push_back(Line{});
    }
    Section created;
    created.name = std::string(section);
    created.hasHeader = true;
    created.headerRaw = "[" + created.name + "]";
    sections_.push_back(std::move(created));
    target = &sections_.back();
  }
  for (Line& line : target->lines) {
    if (line.isKey && equalsNoCase(line.key, key)) {
      line.raw = std::move(raw);
      return;
    }
  }
  // A new key goes after the section's last non-blank line, before its trailing blank lines.
  size_t insertAt = target->lines.size();
  while (insertAt > 0 && trim(target->lines[insertAt - 1].raw).empty()) {
    --insertAt;
  }
  Line line;
  line.raw = std::move(raw);
  line.key = std::string(key);
  line.isKey = true;
  target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                       std::move(line));
}

std::string IniFile::text() const {
  std::string out;
  for (const Section& section : sections_) {
    if (section.hasHeader) {
      out += section.headerRaw;
      out += lineEnd_;
    }
    for (const Line& line : section.lines) {
      out += line.raw;
      out += lineEnd_;
    }
  }
  return out;
}

bool IniFile::save(const std::filesystem::path& file) const {
  if (refuseSave_) {
    return false;
  }
  std::filesystem::path folder = file.parent_path();
  std::string pattern = (folder.empty() ? std::string(".") : folder.string()) + "/." +
                        file.filename().string() + ".XXXXXX";
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    return false;
  }
  // Keep the permissions of the file being replaced; a new settings file is 0644.
  struct stat old {};
  mode_t mode = (::stat(file.c_str(), &old) == 0) ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, text()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && std::rename(pattern.c_str(), file.c_str()) == 0) {
    return true;
  }
  ::unlink(pattern.c_str());
  return false;
}

}  // namespace qv
