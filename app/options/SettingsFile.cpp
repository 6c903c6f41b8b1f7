#include "app/options/SettingsFile.h"

#include <unistd.h>

#include <array>
#include <system_error>

#include "platform/IniFile.h"

namespace qv {

namespace {

constexpr const char* kGeneral = "Output General";
constexpr const char* kHtml = "Output Html";
constexpr const char* kImages = "Output Images";

using O = ConvertOptions;

constexpr std::array<SettingKey, 24> kKeys{{
    {kGeneral, "Page Range", &O::pageRange, nullptr},
    {kGeneral, "Start Page", &O::startPage, nullptr},
    {kGeneral, "End Page", &O::endPage, nullptr},
    {kGeneral, "Page Zoom", &O::pageZoom, nullptr},
    {kGeneral, "Open Result", &O::openResult, nullptr},
    {kGeneral, "Hyperlinks", &O::hyperlinks, nullptr},
    {kHtml, "Output Title", &O::outputTitle, nullptr},
    {kHtml, "Custom Title", nullptr, &O::customTitle},
    {kHtml, "Keywords", nullptr, &O::keywords},
    {kHtml, "Html Background", &O::htmlBackground, nullptr},
    {kHtml, "Links", &O::linksColor, nullptr},
    {kHtml, "Visited Links", &O::visitedLinksColor, nullptr},
    {kHtml, "Active Links", &O::activeLinksColor, nullptr},
    {kHtml, "Frame Structure", &O::frameStructure, nullptr},
    {kHtml, "Output Mode", &O::outputMode, nullptr},
    {kHtml, "Bookmarks Background", &O::bookmarksBackground, nullptr},
    {kHtml, "Bookmark Font", &O::bookmarkFont, nullptr},
    {kHtml, "Bookmark Expand", &O::bookmarkExpand, nullptr},
    {kHtml, "Navigation Align", &O::navigationAlign, nullptr},
    {kHtml, "Navigation Background", &O::navigationBackground, nullptr},
    // No blank in this key, unlike all the others; stored files rely on the spelling.
    {kImages, "IgnoreImages", &O::ignoreImages, nullptr},
    {kImages, "Images Format", &O::imagesFormat, nullptr},
    {kImages, "Jpeg Quality", &O::jpegQuality, nullptr},
    {kImages, "Jpeg Gray Scale", &O::jpegGrayScale, nullptr},
}};

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

// True when the whole text (blanks around it aside) is a decimal number.
std::optional<int32_t> strictInt(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  size_t signLength = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (text.size() == signLength) {
    return std::nullopt;
  }
  for (size_t i = signLength; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return std::nullopt;
    }
  }
  return IniFile::parseInt(text);
}

}  // namespace

std::span<const SettingKey> SettingKeys() {
  return kKeys;
}

const SettingKey* FindSettingKey(std::string_view key) {
  for (const SettingKey& entry : kKeys) {
    if (equalsNoCase(entry.key, key)) {
      return &entry;
    }
  }
  return nullptr;
}

void LoadSettings(ConvertOptions& options, const std::filesystem::path& file) {
  const ConvertOptions defaults;
  IniFile ini = IniFile::load(file);
  for (const SettingKey& entry : kKeys) {
    if (entry.intField != nullptr) {
      options.*entry.intField = ini.readInt(entry.section, entry.key, defaults.*entry.intField);
    } else {
      options.*entry.textField =
          ini.readString(entry.section, entry.key, defaults.*entry.textField);
    }
  }
}

bool SaveSettings(const ConvertOptions& options, const std::filesystem::path& file) {
  std::error_code ec;
  if (file.has_parent_path()) {
    std::filesystem::create_directories(file.parent_path(), ec);
  }
  IniFile ini = IniFile::load(file);
  for (const SettingKey& entry : kKeys) {
    if (entry.intField != nullptr) {
      ini.write(entry.section, entry.key, std::to_string(options.*entry.intField));
    } else {
      ini.write(entry.section, entry.key, options.*entry.textField);
    }
  }
  return ini.save(file);
}

std::optional<std::string> SetOptionFromText(ConvertOptions& options, std::string_view key,
                                             std::string_view value) {
  const SettingKey* entry = FindSettingKey(key);
  if (entry == nullptr) {
    return "unknown settings key \"" + std::string(key) + "\"";
  }
  if (entry->textField != nullptr) {
    options.*entry->textField = std::string(value.substr(0, IniFile::kMaxValueLength));
    return std::nullopt;
  }
  auto number = strictInt(value);
  if (!number) {
    return "the value of \"" + std::string(entry->key) + "\" must be a whole number, not \"" +
           std::string(value) + "\"";
  }
  options.*entry->intField = *number;
  return std::nullopt;
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& appDirectory,
                                       const char* configHome, const char* home) {
  constexpr const char* kFileName = "Settings.ini";
  if (::access(appDirectory.c_str(), W_OK) == 0) {
    return appDirectory / kFileName;
  }
  if (configHome != nullptr && configHome[0] == '/') {
    return std::filesystem::path(configHome) / "quorvane" / kFileName;
  }
  if (home != nullptr && home[0] != '\0') {
    return std::filesystem::path(home) / ".config" / "quorvane" / kFileName;
  }
  return appDirectory / kFileName;
}

std::filesystem::path ExecutableDirectory() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) {
    return std::filesystem::current_path(ec);
  }
  return self.parent_path();
}

}  // namespace qv
